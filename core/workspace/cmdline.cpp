#include "core/workspace/cmdline.h"

#include "core/util/files.h"
#include "core/util/format.h"

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

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine cmd;
    // The value of an option of the headless commands; a missing one is an error.
    const auto value = [&](std::size_t& i, const std::string& name) -> std::string {
        if (i + 1 < args.size()) return args[++i];
        if (cmd.headlessError.empty()) cmd.headlessError = "не задано значение параметра " + name;
        return {};
    };
    const auto integer = [&](const std::string& text, const std::string& name) {
        int v = 0;
        std::size_t used = 0;
        try {
            v = std::stoi(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if ((used != text.size() || text.empty()) && cmd.headlessError.empty())
            cmd.headlessError = "параметр " + name + " должен быть целым числом: \"" + text + "\"";
        return v;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (cmd.headless.empty()) {
            bool found = false;
            for (const char* word : {"scripttest", "scriptrun", "stattable"})
                if (MatchesWord(a, word)) {
                    cmd.headless = word;
                    found = true;
                }
            if (found) continue;
        } else if (a == "--scenario") {
            cmd.scenarioFile = value(i, a);
            continue;
        } else if (a == "--out") {
            cmd.outFile = value(i, a);
            continue;
        } else if (a == "--len") {
            cmd.statLen = integer(value(i, a), a);
            continue;
        } else if (a == "--offset") {
            cmd.statOffset = integer(value(i, a), a);
            continue;
        } else if (a == "--compare") {
            cmd.compare = true;
            continue;
        } else if (a == "--holdout") {
            cmd.holdout = integer(value(i, a), a);
            continue;
        } else if (a == "--luck") {
            cmd.luckDraws = integer(value(i, a), a);
            continue;
        } else if (a == "--report") {
            cmd.reportFile = value(i, a);
            continue;
        } else if (!a.empty() && a[0] != '-' && a[0] != '/') {
            cmd.headlessArgs.push_back(a);
            continue;
        }
        if (a == "--data-dir" && i + 1 < args.size()) {
            cmd.dataDir = args[++i];
        } else if (a.rfind("--data-dir=", 0) == 0) {
            cmd.dataDir = a.substr(11);
        } else if (MatchesWord(a, "restart")) {
            cmd.restart = true;
        } else if (MatchesWord(a, "loadonly")) {
            cmd.loadOnly = true;
        } else if (MatchesWord(a, "fullrecreate")) {
            cmd.fullRecreate = true;
        } else if (MatchesWord(a, "fullrefresh")) {
            cmd.fullRefresh = true;
        } else if (MatchesWord(a, "no-language")) {
            cmd.noLanguage = true;
        } else if (MatchesWord(a, "version")) {
            cmd.version = true;
        } else if (MatchesWord(a, "help") || a == "-h" || a == "-?" || a == "/?") {
            cmd.help = true;
        } else {
            cmd.unknown.push_back(a);
        }
    }
    return cmd;
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
           "Коды завершения: 0 - готово, 1 - ошибка выполнения (например, строка сценария с ошибкой),\n"
           "2 - неверный запрос (неизвестный код метода, длина 0, нет файла сценария).\n"
           "\n"
           "Переменные окружения:\n"
           "  KVANTA_DATA_DIR        каталог данных, если не задан --data-dir\n"
           "  XDG_DATA_HOME          каталог данных установленной программы: $XDG_DATA_HOME/Kvanta_8x20\n"
           "                         (по умолчанию ~/.local/share/Kvanta_8x20), если каталог программы\n"
           "                         недоступен для записи\n";
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
