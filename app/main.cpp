#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/formmain.h"
#include "core/shell/batch.h"
#include "core/shell/cmdline.h"
#include "core/shell/shell.h"
#include "core/shell/workspace.h"
#include "core/util/format.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    const kv::shell::CommandLine cmd = kv::shell::ParseCommandLine(args);
    if (cmd.version || cmd.help) {
        std::fputs((cmd.version ? kv::shell::VersionText() : kv::shell::UsageText()).c_str(), stdout);
        return 0;
    }
    std::error_code ec;
    const std::filesystem::path exeDir = std::filesystem::canonical("/proc/self/exe", ec).parent_path();
    const std::filesystem::path dataDir = kv::shell::ResolveDataDir(cmd, exeDir);
    std::filesystem::create_directories(dataDir, ec);

    // Batch runs work from cron on machines without a display: no window, no GUI library.
    if (kv::shell::IsBatchRun(cmd)) {
        kv::shell::ConsoleShell shell;
        kv::shell::Workspace ws(dataDir);
        return kv::shell::RunBatch(ws, shell, cmd);
    }

    // Qt would abort with a plugin error that names no way out.
    if (!kv::shell::HasDisplay()) {
        std::fputs(kv::shell::NoDisplayText().c_str(), stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString());

    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 128) kv::util::SetDecimalSeparator(point.at(0).toLatin1());

    int exitCode = 0;
    TFormMain window(dataDir, cmd);
    QObject::connect(&window, &TFormMain::programEnded, &app, [&](int code) {
        exitCode = code;
        QTimer::singleShot(0, &app, [&app, code] { app.exit(code); });
    });
    window.show();
    const int loopCode = app.exec();
    return exitCode != 0 ? exitCode : loopCode;
}
