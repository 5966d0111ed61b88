#include <gtest/gtest.h>

#include "core/shell/shell.h"
#include "core/util/error.h"
#include "tests/support/support.h"

using namespace kv;

TEST(ShellServices, BusyCounterAndQuestions)
{
    test::ScriptedShell sh;
    sh.UnmarkBusy();
    EXPECT_EQ(sh.BusyCount(), 0) << "never below zero";
    {
        shell::BusyScope outer(sh, "Загрузка...");
        shell::BusyScope inner(sh);
        EXPECT_EQ(sh.BusyCount(), 2);
    }
    EXPECT_FALSE(sh.IsBusy());
    EXPECT_EQ(sh.statusTexts, (std::vector<std::string>{"Загрузка...", ""}));

    EXPECT_EQ(shell::Shell::DeleteQuestion(1), "Удалить выделенную запись?");
    EXPECT_EQ(shell::Shell::DeleteQuestion(3), "Удалить все выделенные записи (всего будет удалено 3 записи(ей))?");
    sh.answers = {true};
    EXPECT_TRUE(sh.AskDelete(2));
    EXPECT_FALSE(sh.AskDelete(1)) << "No is preselected";
    ASSERT_EQ(sh.questions.size(), 2u);
    EXPECT_EQ(sh.questions[0].caption, "Предупреждение");
    EXPECT_FALSE(sh.questions[0].yesIsDefault);
    EXPECT_TRUE(sh.Confirm("?"));
    EXPECT_EQ(sh.questions.back().caption, "Подтверждение");

    sh.ShowFailure("Ошибка чтения файла тиражей!", "причина");
    ASSERT_EQ(sh.messages.size(), 1u);
    EXPECT_EQ(sh.messages[0].kind, shell::MessageKind::Error);
    EXPECT_EQ(sh.messages[0].text, "Ошибка чтения файла тиражей!\n\nпричина");

    EXPECT_TRUE(sh.Guarded("Ошибка!", [] {}));
    EXPECT_EQ(sh.messages.size(), 1u) << "a finished body reports nothing";
    EXPECT_FALSE(sh.Guarded("Ошибка записи в файл конфигурации!", [] { throw Error("диск полон"); }));
    ASSERT_EQ(sh.messages.size(), 2u);
    EXPECT_EQ(sh.messages[1].text, "Ошибка записи в файл конфигурации!\n\nдиск полон");
}

TEST(ShellServices, ProgressWindow)
{
    test::ScriptedShell sh;
    sh.ProgressOpen(10, true);
    try {
        sh.ProgressOpen(5, false);
        FAIL() << "a second progress window";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Окно индикатора уже создано!");
    }
    EXPECT_EQ(sh.ProgressMaximum(), 10) << "the first window stays as it was";
    sh.ProgressStep(4);
    sh.ProgressStep(20);
    EXPECT_EQ(sh.ProgressPosition(), 10);
    sh.ProgressSetPosition(-3);
    EXPECT_EQ(sh.ProgressPosition(), 0);
    EXPECT_FALSE(sh.ProgressCancelled());
    sh.cancelProgress = true;
    EXPECT_TRUE(sh.ProgressCancelled());
    sh.ProgressClose();
    EXPECT_FALSE(sh.ProgressCancelled()) << "no window, nothing to cancel";
    sh.ProgressOpen(1, false);
    EXPECT_TRUE(sh.ProgressIsOpen());
}
