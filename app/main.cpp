#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/formmain.h"
#include "app/qtshell.h"
#include "core/online/batch.h"
#include "core/workspace/cmdline.h"
#include "core/workspace/programname.h"
#include "core/workspace/headless.h"
#include "core/shell/shell.h"
#include "core/workspace/workspace.h"
#include "core/util/format.h"
#include "net/webaccess.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    const kv::workspace::CommandLine cmd = kv::workspace::ParseCommandLine(args);
    if (!cmd.error.empty()) {
        std::fputs(kv::workspace::CommandLineErrorText(cmd).c_str(), stderr);
        return kv::workspace::HeadlessBadUsage;
    }
    if (cmd.version || cmd.help) {
        std::fputs((cmd.version ? kv::workspace::VersionText() : kv::workspace::UsageText()).c_str(), stdout);
        return 0;
    }
    std::error_code ec;
    const std::filesystem::path exePath = std::filesystem::canonical("/proc/self/exe", ec);
    const std::filesystem::path exeDir = exePath.parent_path();
    // A renamed copy of the program keeps its own window and filter-list settings.
    kv::workspace::SetProgramName(exePath.stem().string());
    const std::filesystem::path dataDir = kv::workspace::ResolveDataDir(cmd, exeDir);
    // One message about the folder itself, before every file in it fails on its own.
    const std::string dataDirProblem = kv::workspace::PrepareDataDir(dataDir);

    if (!dataDirProblem.empty() && (kv::workspace::IsHeadlessRun(cmd) || kv::workspace::IsBatchRun(cmd))) {
        std::fprintf(stderr, "%s\n", dataDirProblem.c_str());
        return 1;
    }

    // The headless commands print their results and need no display either.
    if (kv::workspace::IsHeadlessRun(cmd)) {
        kv::shell::ConsoleShell shell;
        kv::workspace::Workspace ws(dataDir);
        return kv::workspace::RunHeadlessCommand(ws, shell, cmd, std::cout);
    }

    // Batch runs work from cron on machines without a display: no window, no GUI library.
    if (kv::workspace::IsBatchRun(cmd)) {
        kv::shell::ConsoleShell shell;
        kv::workspace::Workspace ws(dataDir);
        kv::net::PageClient pages;
        return kv::online::RunBatch(ws, shell, cmd, kv::net::MakeWebAccess(pages));
    }

    // Qt would abort with a plugin error that names no way out.
    if (!kv::workspace::HasDisplay()) {
        std::fputs(kv::workspace::NoDisplayText().c_str(), stderr);
        return 2;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString());
    InstallQtRussian();

    if (!dataDirProblem.empty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Ошибка"), QString::fromStdString(dataDirProblem));
        return 1;
    }

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
