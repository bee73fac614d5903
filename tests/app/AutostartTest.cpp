#include "app/Autostart.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace markvane;

TEST(Autostart, EnableWritesAnEntryThatStartsTheProgramAndDisableRemovesIt) {
    QTemporaryDir home;
    Autostart autostart(home.path() + QStringLiteral("/config"),
                        QStringLiteral("/opt/mv/markvane"));
    EXPECT_FALSE(autostart.isEnabled());
    EXPECT_EQ(autostart.entryPath(),
              home.path() + QStringLiteral("/config/autostart/markvane.desktop"));

    QString error;
    ASSERT_TRUE(autostart.setEnabled(true, &error)) << error.toStdString();
    EXPECT_TRUE(autostart.isEnabled());
    QFile file(autostart.entryPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=/opt/mv/markvane\n")));
    file.close();
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("Hidden=true\n"); // an entry marked hidden counts as off
    file.close();
    EXPECT_FALSE(autostart.isEnabled());

    ASSERT_TRUE(autostart.setEnabled(false, &error));
    EXPECT_FALSE(QFile::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.setEnabled(false, &error)); // already off
}

TEST(Autostart, ExecArgumentsAreQuotedSoPathsCannotInjectCommandsOrBreakTheFile) {
    EXPECT_EQ(Autostart::quoteExecArgument(QStringLiteral("/usr/bin/markvane")),
              QStringLiteral("/usr/bin/markvane"));
    EXPECT_EQ(Autostart::quoteExecArgument(QStringLiteral("/home/a b/markvane")),
              QStringLiteral("\"/home/a b/markvane\""));
    EXPECT_EQ(Autostart::quoteExecArgument(QStringLiteral("/x/$(rm)/m")),
              QStringLiteral("\"/x/\\\\$(rm)/m\""));
    EXPECT_EQ(Autostart::quoteExecArgument(QStringLiteral("/x/100%/m")),
              QStringLiteral("/x/100%%/m"));
    const QString withNewline = Autostart::entryText(QStringLiteral("/a\nType=Evil/m"));
    EXPECT_FALSE(withNewline.contains(QStringLiteral("\nType=Evil")));
    EXPECT_TRUE(withNewline.contains(QStringLiteral("Exec=\"/a\\nType=Evil/m\"\n")));
}

TEST(Autostart, UnwritableFolderReportsAnError) {
    QTemporaryDir home;
    QFile blocker(home.path() + QStringLiteral("/autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    Autostart autostart(home.path(), QStringLiteral("/usr/bin/markvane"));
    QString error;
    EXPECT_FALSE(autostart.setEnabled(true, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(autostart.isEnabled());
}
