#include "core/workspace/cmdline.h"

#include "core/util/cp1251.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/workspace/programname.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <cerrno>
#include <dirent.h>
#include <unistd.h>

namespace kv::workspace {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

} // namespace

bool MatchesWord(std::string_view arg, std::string_view word)
{
    if (equalsNoCase(arg, word)) return true;
    for (std::string_view prefix : {"--", "-", "/", "\\"}) {
        if (arg.size() > prefix.size() && arg.substr(0, prefix.size()) == prefix
            && equalsNoCase(arg.substr(prefix.size()), word))
            return true;
    }
    return false;
}

bool ParseWholeNumber(std::string_view text, int64_t min, int64_t max, int64_t& out)
{
    int64_t v = 0;
    const char* const first = text.data();
    const char* const last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, v);
    if (text.empty() || ec != std::errc() || ptr != last || v < min || v > max) return false;
    out = v;
    return true;
}

std::string SafeText(std::string_view text)
{
    const bool utf8 = util::IsValidUtf8(text);
    std::string safe;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7f || (b >= 0x80 && !utf8)) {
            static constexpr char Hex[] = "0123456789ABCDEF";
            safe += {'\\', 'x', Hex[b >> 4], Hex[b & 15]};
        } else {
            safe += c;
        }
    }
    return safe;
}

namespace {

// Qt's own options that take a value, and those that do not.
constexpr std::string_view QtValueOptions[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                               "-style", "-stylesheet", "-session", "-display", "-geometry",
                                               "-qwindowgeometry", "-qwindowtitle", "-qwindowicon"};
constexpr std::string_view QtFlagOptions[] = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount"};

template <std::size_t N>
bool listed(const std::string_view (&names)[N], std::string_view arg)
{
    return std::find(std::begin(names), std::end(names), arg) != std::end(names);
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : m_args(args) {}

    CommandLine Run()
    {
        for (m_i = 0; m_i < m_args.size(); ++m_i) {
            const std::string& a = m_args[m_i];
            if (a == "--data-dir") {
                if (const auto v = value(a)) m_cmd.dataDir = *v;
            } else if (a.rfind("--data-dir=", 0) == 0) {
                m_cmd.dataDir = a.substr(11);
                if (m_cmd.dataDir.empty()) fail("не задано значение параметра --data-dir");
            } else if (m_cmd.headless.empty() && headlessWord(a)) {
            } else if (!m_cmd.headless.empty()) {
                headlessArg(a);
            } else if (!programWord(a)) {
                other(a);
            }
        }
        if (!m_cmd.headless.empty() && IsBatchRun(m_cmd))
            fail("слова loadonly, fullrecreate и fullrefresh не сочетаются с " + m_cmd.headless);
        if (!m_cmd.qtArgs.empty() && (!m_cmd.headless.empty() || IsBatchRun(m_cmd)))
            fail("параметр " + SafeText(m_cmd.qtArgs.front()) + " действует только при запуске с окном");
        return m_cmd;
    }

private:
    void fail(const std::string& text)
    {
        if (m_cmd.error.empty()) m_cmd.error = text;
    }
    void headlessFail(const std::string& text)
    {
        if (m_cmd.headlessError.empty()) m_cmd.headlessError = text;
        fail(text);
    }

    // The value after an option; a missing one is an error.
    std::optional<std::string> value(const std::string& name)
    {
        if (m_i + 1 < m_args.size()) return m_args[++m_i];
        if (m_cmd.headless.empty()) fail("не задано значение параметра " + name);
        else headlessFail("не задано значение параметра " + name);
        return std::nullopt;
    }

    int integer(const std::string& name, int64_t min, int fallback, int64_t max = std::numeric_limits<int>::max())
    {
        const auto text = value(name);
        if (!text) return fallback;
        int64_t v = 0;
        if (ParseWholeNumber(*text, min, max, v)) return static_cast<int>(v);
        headlessFail(util::Format("параметр %s должен быть целым числом от %d до %d: \"%s\"",
                                  {name, min, max, SafeText(*text)}));
        return fallback;
    }

    bool headlessWord(const std::string& a)
    {
        for (const char* word : {"scripttest", "scriptrun", "stattable"})
            if (MatchesWord(a, word)) {
                m_cmd.headless = word;
                return true;
            }
        return false;
    }

    void headlessArg(const std::string& a)
    {
        if (a == "--scenario") {
            if (const auto v = value(a)) m_cmd.scenarioFile = *v;
        } else if (a == "--out") {
            if (const auto v = value(a)) m_cmd.outFile = *v;
        } else if (a == "--len") {
            m_cmd.statLen = integer(a, 1, -1);
        } else if (a == "--offset") {
            m_cmd.statOffset = integer(a, 0, 0);
        } else if (a == "--compare") {
            m_cmd.compare = true;
        } else if (a == "--holdout") {
            m_cmd.holdout = integer(a, 0, 0);
        } else if (a == "--luck") {
            m_cmd.luckDraws = integer(a, MinLuckDraws, 0, MaxLuckDraws);
        } else if (a == "--report") {
            if (const auto v = value(a)) m_cmd.reportFile = *v;
        } else if (!a.empty() && a[0] != '-' && a[0] != '/') {
            m_cmd.headlessArgs.push_back(a);
        } else if (!programWord(a)) {
            headlessFail("неизвестный параметр " + SafeText(a));
        }
    }

    bool programWord(const std::string& a)
    {
        if (MatchesWord(a, "restart")) m_cmd.restart = true;
        else if (MatchesWord(a, "loadonly")) m_cmd.loadOnly = true;
        else if (MatchesWord(a, "fullrecreate")) m_cmd.fullRecreate = true;
        else if (MatchesWord(a, "fullrefresh")) m_cmd.fullRefresh = true;
        else if (MatchesWord(a, "no-language")) m_cmd.noLanguage = true;
        else if (MatchesWord(a, "version")) m_cmd.version = true;
        else if (MatchesWord(a, "help") || a == "-h" || a == "-?" || a == "/?") m_cmd.help = true;
        else return false;
        return true;
    }

    void other(const std::string& a)
    {
        if (listed(QtValueOptions, a)) {
            m_cmd.qtArgs.push_back(a);
            if (const auto v = value(a)) m_cmd.qtArgs.push_back(*v);
            return;
        }
        if (listed(QtFlagOptions, a)) {
            m_cmd.qtArgs.push_back(a);
            return;
        }
        m_cmd.unknown.push_back(a);
        const bool option = !a.empty() && (a[0] == '-' || a[0] == '/' || a[0] == '\\');
        fail((option ? "неизвестный параметр " : "лишнее слово ") + SafeText(a));
    }

    const std::vector<std::string>& m_args;
    std::size_t m_i = 0;
    CommandLine m_cmd;
};

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    return Parser(args).Run();
}

bool IsBatchRun(const CommandLine& cmd)
{
    return cmd.loadOnly || cmd.fullRecreate || cmd.fullRefresh;
}

std::string OutFileProblem(const std::filesystem::path& target, const std::filesystem::path& dataDir,
                           const std::filesystem::path& scenarioFile)
{
    std::error_code ec;
    const std::filesystem::path out = std::filesystem::weakly_canonical(std::filesystem::absolute(target, ec), ec);
    if (ec || out.filename().empty()) return util::Format("файл результата \"%s\" не годится для записи", {SafeText(target.string())});
    const auto refused = [&] {
        return util::Format("файл \"%s\" - файл данных программы; результат в него не записывается",
                            {SafeText(target.string())});
    };
    if (!scenarioFile.empty() && std::filesystem::equivalent(out, scenarioFile, ec)) return refused();
    const std::filesystem::path data = std::filesystem::weakly_canonical(std::filesystem::absolute(dataDir, ec), ec);
    if (ec) return {};
    // A link of another name to a data file is the data file.
    std::filesystem::path real = out;
    if (std::filesystem::exists(out, ec)) {
        for (const auto& e : std::filesystem::directory_iterator(data, ec))
            if (std::filesystem::equivalent(e.path(), out, ec)) real = e.path();
    }
    for (const char* folder : {"Prefetchs", "Systems"}) {
        const std::filesystem::path sub = data / folder;
        const std::string prefix = sub.string() + "/";
        if (real == sub || real.string().rfind(prefix, 0) == 0) return refused();
    }
    if (real.parent_path() != data) return {};
    const std::string name = real.filename().string();
    for (const std::string& own : {std::string("Kvanta_8x20"), ProgramFileName("")})
        if (!own.empty() && name.rfind(own, 0) == 0) return refused();
    return {};
}

std::filesystem::path ResolveDataDir(const CommandLine& cmd, const std::filesystem::path& exeDir)
{
    if (!cmd.dataDir.empty()) return cmd.dataDir;
    if (const char* env = std::getenv("KVANTA_DATA_DIR"); env && *env) return env;
    // An installed program (its menu entry beside it in <prefix>/share) never writes into its
    // bin folder, even for root, who could.
    std::error_code ec;
    const bool installed =
        std::filesystem::exists(exeDir.parent_path() / "share" / "applications" / "kvanta-8x20.desktop", ec);
    if (!installed && ::access(exeDir.c_str(), W_OK) == 0) return exeDir;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') return std::filesystem::path(xdg) / "Kvanta_8x20";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".local/share/Kvanta_8x20";
}

std::string PrepareDataDir(const std::filesystem::path& dir)
{
    const std::string advice =
        "\n\nУкажите другую папку параметром --data-dir или переменной окружения KVANTA_DATA_DIR."
        "\n\nПрограмма будет закрыта!";
    std::error_code ec;
    if (std::filesystem::exists(dir, ec) && !std::filesystem::is_directory(dir, ec))
        return util::Format("Папка данных программы недоступна:\n%s\n\nЭто не папка.", {dir.string()}) + advice;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        return util::Format("Не удалось создать папку данных программы:\n%s\n\n%s", {dir.string(), util::ErrnoText(ec.value())}) +
               advice;
    // Real attempts rather than permission bits: root passes every permission check, yet cannot
    // write on a read-only file system.
    if (DIR* d = ::opendir(dir.c_str())) {
        ::closedir(d);
    } else {
        return util::Format("Папка данных программы недоступна для чтения:\n%s\n\n%s", {dir.string(), util::ErrnoText(errno)}) +
               advice;
    }
    std::string probe = (dir / ".kvanta-write-test-XXXXXX").string();
    const int fd = ::mkstemp(probe.data());
    if (fd < 0)
        return util::Format("Папка данных программы недоступна для записи:\n%s\n\n%s", {dir.string(), util::ErrnoText(errno)}) +
               advice;
    ::close(fd);
    ::unlink(probe.c_str());
    return {};
}

std::string VersionText()
{
    return std::string("Kvanta_8x20 ") + KV_VERSION + "\n";
}

std::string UsageText()
{
    return "Использование: Kvanta_8x20 [--data-dir КАТАЛОГ] [restart] [loadonly] [fullrecreate] [fullrefresh]\n"
           "                   [no-language] [--version] [--help]\n"
           "       Kvanta_8x20 [--data-dir КАТАЛОГ] scripttest N [--holdout K] [--luck R] [--report ФАЙЛ.html]\n"
           "                   [--scenario ФАЙЛ] [--out ФАЙЛ]\n"
           "       Kvanta_8x20 [--data-dir КАТАЛОГ] scriptrun [--scenario ФАЙЛ] [--out ФАЙЛ]\n"
           "       Kvanta_8x20 [--data-dir КАТАЛОГ] stattable КОД [--len L] [--offset K] [--compare] [--out ФАЙЛ]\n"
           "\n"
           "Анализатор тиражей лотереи 8x20. Слова можно писать как word, -word, --word или /word.\n"
           "\n"
           "  --data-dir КАТАЛОГ  каталог данных (архив, ставки, рейтинги, настройки)\n"
           "  loadonly            загрузить новые тиражи, проверить ставки и завершить работу\n"
           "  fullrecreate        заново создать все файлы предрасчета и завершить работу\n"
           "  fullrefresh         дополнить недостающие файлы предрасчета и завершить работу\n"
           "  restart             дождаться завершения предыдущей копии программы\n"
           "  no-language         не загружать языковой модуль\n"
           "  --version           показать версию программы\n"
           "  --help              показать эту справку\n"
           "\n"
           "Слова loadonly, fullrecreate и fullrefresh работают без окна (например, из cron).\n"
           "\n"
           "Команды без окна (результат - в стандартный вывод или в файл --out, сообщения - в поток ошибок):\n"
           "  scripttest N        тест сценария на N последних тиражах, как кнопка \"Тест\": ставки делаются\n"
           "                      и проверяются, рейтинг пополняется; выводит затронутые строки рейтинга\n"
           "                      и таблицу эффективности фильтров (CSV, разделитель \";\")\n"
           "  scriptrun           прогноз: ставки сценария на следующий тираж (CSV)\n"
           "  stattable КОД       таблица статистики метода (например, NUMS или POS3): заголовок и 20\n"
           "                      столбцов через табуляцию, по возрастанию столбца \"Количество\"\n"
           "  --holdout K         последние K тиражей теста - контрольные: строки рейтинга и эффективность\n"
           "                      фильтров выводятся отдельно для тиражей настройки и контрольных\n"
           "  --luck R            добавить к строкам рейтинга p и q проверки на случайность (R случайных\n"
           "                      тиражей, от 100 до 10000000)\n"
           "  --report ФАЙЛ.html  записать отчет о тесте: таблица идей с p и q, графики, фильтры\n"
           "  --scenario ФАЙЛ     файл сценария (*.lsc) вместо текущего сценария Kvanta_8x20.lss\n"
           "  --len L             число тиражей таблицы статистики (по умолчанию DrawsStatLen, 1000)\n"
           "  --offset K          смещение окна тиражей (по умолчанию 0)\n"
           "  --compare           сравнение с полным набором комбинаций (столбцы \"Норма\" и отклонения)\n"
           "  --out ФАЙЛ          записать результат в файл\n"
           "Коды завершения: 0 - готово, 1 - ошибка выполнения (например, строка сценария с ошибкой или\n"
           "результат, который не удалось записать), 2 - неверный запрос (неизвестное слово или параметр,\n"
           "число вне допустимого диапазона, неизвестный код метода, нет файла сценария, --out на файл данных).\n"
           "\n"
           "Переменные окружения:\n"
           "  KVANTA_DATA_DIR        каталог данных, если не задан --data-dir\n"
           "  XDG_DATA_HOME          каталог данных установленной программы: $XDG_DATA_HOME/Kvanta_8x20\n"
           "                         (по умолчанию ~/.local/share/Kvanta_8x20), если каталог программы\n"
           "                         недоступен для записи\n";
}

std::string UsageLines()
{
    const std::string usage = UsageText();
    return usage.substr(0, usage.find("\n\n") + 1);
}

std::string CommandLineErrorText(const CommandLine& cmd)
{
    return "Kvanta_8x20" + (cmd.headless.empty() ? std::string() : " " + cmd.headless) + ": " + cmd.error + "\n" +
           UsageLines();
}

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (const char* v = std::getenv(name); v && *v) return true;
    return false;
}

std::string NoDisplayText()
{
    return "Kvanta_8x20: нет графического дисплея (переменные DISPLAY и WAYLAND_DISPLAY не заданы). "
           "Запустите программу в графическом сеансе или через xvfb-run; без окна работают слова "
           "loadonly, fullrecreate и fullrefresh.\n";
}

} // namespace kv::workspace
