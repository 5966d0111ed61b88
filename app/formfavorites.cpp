#include "app/commandnames.h"
#include "app/formfavorites.h"
#include "app/dialogutil.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/commandset.h"
#include "app/formmethodinfo.h"
#include "app/qtshell.h"
#include "core/shell/shell.h"
#include "core/workspace/programname.h"
#include "core/workspace/workspace.h"
#include "core/stats/statlist.h"

using namespace kv;

namespace {

constexpr int GroupRole = Qt::UserRole;
constexpr int NodeRole = Qt::UserRole + 1;

// Space on a method node toggles it like a click.
class SpaceToggle : public QObject {
public:
    SpaceToggle(QTreeWidget* view, std::function<void(QTreeWidgetItem*)> toggle)
        : QObject(view), m_view(view), m_toggle(std::move(toggle)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_view && event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space && m_view->currentItem()) {
            m_toggle(m_view->currentItem());
            return true;
        }
        return false;
    }

private:
    QTreeWidget* m_view;
    std::function<void(QTreeWidgetItem*)> m_toggle;
};

} // namespace

TFormFavorites::TFormFavorites(stats::TStatList& list, const std::filesystem::path& dataDir, shell::Shell& shell,
                               QWidget* parent)
    : QDialog(parent), m_list(list), m_dataDir(dataDir), m_shell(shell),
      m_commands(new TCommandSet(this, [this] { return isBusy(); }))
{
    setObjectName(QStringLiteral("TFormFavorites"));
    setWindowTitle(qs(filters::FavoritesWindowCaption));

    const auto notEmpty = [this] { return !m_tree.Empty(); };
    const auto hasNode = [this] { return selectedNode().group >= 0; };
    const auto hasMethod = [this] { return selectedNode().node >= 0; };
    m_commands->add(cmd::CheckNone, QStringLiteral("Сбросить все"), QStringLiteral("Снять отметки со всех фильтров"),
                    [this] { m_tree.MarkAll(false); refreshItems(); }, notEmpty);
    m_commands->add(cmd::CheckAll, QStringLiteral("Выбрать все"), QStringLiteral("Поставить отметки у всех фильтров"),
                    [this] { m_tree.MarkAll(true); refreshItems(); }, notEmpty);
    m_commands->add(cmd::GroupNone, QStringLiteral("Сбросить группу"), QStringLiteral("Снять отметки со всех фильтров группы"),
                    [this] { markSelectedGroup(false); }, hasNode);
    m_commands->add(cmd::GroupAll, QStringLiteral("Выбрать группу"), QStringLiteral("Поставить отметки у всех фильтров группы"),
                    [this] { markSelectedGroup(true); }, hasNode);
    m_commands->add(cmd::Rename, QStringLiteral("Переименовать"), QStringLiteral("Переименовать фильтр"), [this] { rename(); },
                    hasMethod);
    m_commands->add(cmd::ResetName, QStringLiteral("Вернуть"), QStringLiteral("Вернуть наименование \"по умолчанию\""),
                    [this] { resetName(); }, hasMethod);
    m_commands->add(cmd::Info, QStringLiteral("Описание"), QStringLiteral("Справочная информация о выделенном методе расчета статистики"),
                    [this] { info(); }, hasMethod);
    m_commands->add(cmd::NamesImport, QStringLiteral("Импорт названий"), QStringLiteral("Импорт названий фильтров из файла"),
                    [this] { namesImport(); }, {});
    m_commands->add(cmd::NamesExport, QStringLiteral("Экспорт названий"), QStringLiteral("Экспорт названий фильтров в файл"),
                    [this] { namesExport(); }, {});

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Отметьте методы расчета статистики, которые Вы хотите использовать:")), 1);
    m_count = new QLabel;
    top->addWidget(m_count);
    layout->addLayout(top);

    auto* middle = new QHBoxLayout;
    m_view = new QTreeWidget;
    m_view->setObjectName(QStringLiteral("FavoritesTree"));
    m_view->setColumnCount(1);
    m_view->header()->hide();
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setUniformRowHeights(true);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    middle->addWidget(m_view, 1);

    auto* buttons = new QVBoxLayout;
    const auto addButton = [&](const char* name) {
        auto* button = new QToolButton;
        button->setDefaultAction(command(QString::fromLatin1(name)));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons->addWidget(button);
        m_view->addAction(command(QString::fromLatin1(name)));
    };
    const auto addSeparator = [&] {
        buttons->addSpacing(10);
        auto* sep = new QAction(m_view);
        sep->setSeparator(true);
        m_view->addAction(sep);
    };
    for (const char* name : {cmd::CheckAll, cmd::CheckNone, cmd::GroupAll, cmd::GroupNone}) addButton(name);
    addSeparator();
    for (const char* name : {cmd::Rename, cmd::ResetName, cmd::Info}) addButton(name);
    addSeparator();
    for (const char* name : {cmd::NamesImport, cmd::NamesExport}) addButton(name);
    buttons->addStretch();
    middle->addLayout(buttons);
    layout->addLayout(middle, 1);

    m_ordered = new QCheckBox(QStringLiteral("Сортировать списки по названию метода"));
    m_groupName = new QCheckBox(QStringLiteral("Отображать идентификатор группы { xxx } перед названием метода"));
    m_methodFlags = new QCheckBox(QStringLiteral("Отображать особенности метода [ YYY ] после названия метода"));
    for (QCheckBox* box : {m_ordered, m_groupName, m_methodFlags}) layout->addWidget(box);

    AddDialogButtons(this, layout);

    connect(m_view, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { toggle(item); });
    connect(m_view, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { toggle(item); });
    connect(m_view, &QTreeWidget::itemSelectionChanged, this, &TFormFavorites::updateActions);
    m_view->installEventFilter(new SpaceToggle(m_view, [this](QTreeWidgetItem* item) { toggle(item); }));
    connect(m_ordered, &QCheckBox::toggled, this, [this](bool on) { m_tree.Ordered = on; });
    connect(m_groupName, &QCheckBox::toggled, this, [this](bool on) { m_tree.ShowGroupName = on; });
    connect(m_methodFlags, &QCheckBox::toggled, this, [this](bool on) { m_tree.ShowMethodFlags = on; });

    build();
    resize(720, 560);
}

QAction* TFormFavorites::command(const QString& name) const
{
    return m_commands->command(name);
}

void TFormFavorites::updateActions()
{
    m_commands->updateActions();
}

void TFormFavorites::whileBusy(const std::function<void()>& body)
{
    struct Scope {
        TFormFavorites& form;
        explicit Scope(TFormFavorites& f) : form(f)
        {
            ++form.m_busy;
            form.updateActions();
        }
        ~Scope()
        {
            --form.m_busy;
            form.updateActions();
        }
    } scope(*this);
    body();
}

void TFormFavorites::build()
{
    whileBusy([this] {
        shell::BusyScope busy(m_shell, filters::FavoritesWaitText);
        m_tree.Build(m_list);
        m_count->setText(qs(m_tree.CountText()));
        m_ordered->setChecked(m_tree.Ordered);
        m_groupName->setChecked(m_tree.ShowGroupName);
        m_methodFlags->setChecked(m_tree.ShowMethodFlags);
        fillView();
    });
}

void TFormFavorites::fillView()
{
    const NodeRef selected = selectedNode();
    m_view->clear();
    const auto& groups = m_tree.Groups();
    for (int g = 0; g < static_cast<int>(groups.size()); ++g) {
        auto* top = new QTreeWidgetItem(m_view, {qs(groups[std::size_t(g)].Caption)});
        top->setData(0, GroupRole, g);
        top->setData(0, NodeRole, -1);
        QFont bold = top->font(0);
        bold.setBold(true);
        top->setFont(0, bold);
        top->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        for (int n = 0; n < static_cast<int>(groups[std::size_t(g)].Methods.size()); ++n) {
            auto* item = new QTreeWidgetItem(top);
            item->setData(0, GroupRole, g);
            item->setData(0, NodeRole, n);
            // The mark is shown as a check box but toggled by our own click handling, so that a
            // click anywhere on the node counts once.
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        }
    }
    m_view->expandAll();
    refreshItems();
    if (selected.group >= 0 && selected.group < m_view->topLevelItemCount()) {
        QTreeWidgetItem* top = m_view->topLevelItem(selected.group);
        QTreeWidgetItem* item = selected.node < 0 ? top : top->child(selected.node);
        if (item) m_view->setCurrentItem(item);
    }
    updateActions();
}

void TFormFavorites::refreshItems()
{
    const auto& groups = m_tree.Groups();
    for (int g = 0; g < m_view->topLevelItemCount() && g < static_cast<int>(groups.size()); ++g) {
        QTreeWidgetItem* top = m_view->topLevelItem(g);
        const auto& methods = groups[std::size_t(g)].Methods;
        for (int n = 0; n < top->childCount() && n < static_cast<int>(methods.size()); ++n) {
            QTreeWidgetItem* item = top->child(n);
            item->setText(0, qs(methods[std::size_t(n)].Text));
            item->setCheckState(0, methods[std::size_t(n)].Marked ? Qt::Checked : Qt::Unchecked);
        }
    }
}

QTreeWidgetItem* TFormFavorites::methodItem(int method) const
{
    const auto& groups = m_tree.Groups();
    for (int g = 0; g < static_cast<int>(groups.size()) && g < m_view->topLevelItemCount(); ++g)
        for (int n = 0; n < static_cast<int>(groups[std::size_t(g)].Methods.size()); ++n)
            if (groups[std::size_t(g)].Methods[std::size_t(n)].Method == method) return m_view->topLevelItem(g)->child(n);
    return nullptr;
}

TFormFavorites::NodeRef TFormFavorites::selectedNode() const
{
    const QList<QTreeWidgetItem*> items = m_view->selectedItems();
    if (items.isEmpty()) return {};
    return {items.first()->data(0, GroupRole).toInt(), items.first()->data(0, NodeRole).toInt()};
}

void TFormFavorites::toggle(QTreeWidgetItem* item)
{
    if (isBusy() || !item || item->data(0, NodeRole).toInt() < 0) return;
    m_tree.Toggle(item->data(0, GroupRole).toInt(), item->data(0, NodeRole).toInt());
    refreshItems();
}

void TFormFavorites::markSelectedGroup(bool marked)
{
    m_tree.MarkGroup(selectedNode().group, marked);
    refreshItems();
}

void TFormFavorites::rename()
{
    const NodeRef ref = selectedNode();
    if (ref.node < 0) return;
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Переименование"));
    dialog.setLabelText(QStringLiteral("Введите наименование фильтра:"));
    dialog.setTextValue(qs(m_tree.Groups()[std::size_t(ref.group)].Methods[std::size_t(ref.node)].Text));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    dialog.resize(520, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted) return;
    m_tree.Rename(ref.group, ref.node, us(dialog.textValue()));
    refreshItems();
}

void TFormFavorites::resetName()
{
    const NodeRef ref = selectedNode();
    m_tree.ResetName(ref.group, ref.node, m_list);
    refreshItems();
}

void TFormFavorites::info()
{
    const NodeRef ref = selectedNode();
    if (ref.node < 0) return;
    const int method = m_tree.Groups()[std::size_t(ref.group)].Methods[std::size_t(ref.node)].Method;
    TFormMethodInfo dialog(qs(m_list.GetHelpURL(method)), this);
    dialog.exec();
}

QString TFormFavorites::chooseFile(bool save)
{
    return m_fileChooser ? m_fileChooser(save) : askFile(this, m_dataDir, save);
}

QString TFormFavorites::askFile(QWidget* parent, const std::filesystem::path& dataDir, bool save)
{
    // The filter text keeps the pattern in its description: "Наименования фильтров (*.flt)".
    const QString filter = qs(filters::FilterListFileFilter).section(QLatin1Char('|'), 0, 0);
    QFileDialog dialog(parent, save ? QStringLiteral("Экспорт названий") : QStringLiteral("Импорт названий"),
                       qs(dataDir.string()), filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(qs(filters::FilterListExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

void TFormFavorites::namesImport()
{
    const QString file = chooseFile(false);
    if (file.isEmpty()) return;
    whileBusy([&] {
        shell::BusyScope busy(m_shell, filters::FavoritesWaitText);
        m_tree.ImportNames(m_list, std::filesystem::path(file.toStdString()), m_shell);
        fillView();
    });
}

void TFormFavorites::namesExport()
{
    const QString file = chooseFile(true);
    if (file.isEmpty()) return;
    whileBusy([&] {
        shell::BusyScope busy(m_shell);
        m_tree.ExportNames(m_list, std::filesystem::path(file.toStdString()),
                           m_dataDir / workspace::ProgramFileName(".flt"), m_shell);
    });
}
