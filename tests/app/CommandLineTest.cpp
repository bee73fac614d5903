#include "app/CommandLine.h"
#include "app/ControlValues.h"

#include <gtest/gtest.h>

using namespace markvane;

namespace {

ParsedCommandLine parse(std::initializer_list<const char*> args) {
    QStringList list;
    for (const char* arg : args)
        list << QString::fromUtf8(arg);
    return parseCommandLine(list);
}

QList<RemoteRequest> requestsOf(std::initializer_list<const char*> args) {
    const ParsedCommandLine parsed = parse(args);
    EXPECT_TRUE(parsed.invocation.has_value()) << parsed.error.toStdString();
    return parsed.invocation ? parsed.invocation->requests : QList<RemoteRequest>{};
}

} // namespace

TEST(CommandLine, OptionsBecomeRemoteRequestsInOrder) {
    const QList<RemoteRequest> expected{
        {QStringLiteral("ToggleDrawMode"), {}},
        {QStringLiteral("SetTool"), {QStringLiteral("arrow")}},
        {QStringLiteral("SetColor"), {3}},
        {QStringLiteral("SetWidth"), {2}},
        {QStringLiteral("SetFade"), {5}},
        {QStringLiteral("Quit"), {}},
    };
    EXPECT_EQ(requestsOf({"--action", "drawMode", "--tool", "arrow", "--color", "3", "--width", "2",
                          "--fade", "5", "--quit"}),
              expected);
    EXPECT_EQ(requestsOf({"--tool=move", "--colour=1", "--fade=off"}),
              (QList<RemoteRequest>{{QStringLiteral("SetTool"), {QStringLiteral("move")}},
                                    {QStringLiteral("SetColor"), {1}},
                                    {QStringLiteral("SetFade"), {0}}}));
    EXPECT_EQ(parse({"--tool", "pen"}).invocation->mode, Invocation::Mode::command);
    EXPECT_EQ(parse({}).invocation->mode, Invocation::Mode::launch);
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse) {
    EXPECT_EQ(parse({"--tool", "nonsense", "--help"}).invocation->mode, Invocation::Mode::help);
    EXPECT_EQ(parse({"-h"}).invocation->mode, Invocation::Mode::help);
    EXPECT_EQ(parse({"--quit", "--version"}).invocation->mode, Invocation::Mode::version);
    EXPECT_TRUE(usageText().contains(QStringLiteral("drawMode")));
}

TEST(CommandLine, UnknownOptionsAndValuesAreErrorsThatSayWhatIsAccepted) {
    const ParsedCommandLine action = parse({"--action", "drawmode"});
    EXPECT_FALSE(action.invocation);
    EXPECT_TRUE(action.error.contains(QStringLiteral("\"drawmode\"")));
    EXPECT_TRUE(action.error.contains(QStringLiteral("drawMode")));

    EXPECT_TRUE(parse({"--tool", "redact"}).error.contains(QStringLiteral("eraser")));
    for (Tool tool : withheldTools())
        EXPECT_FALSE(parseToolName(toolRawValue(tool), nullptr))
            << toolRawValue(tool).toStdString();
    EXPECT_FALSE(parse({"--tool", "Pen"}).invocation);
    for (const char* colour : {"0", "6", "+3", "3.0", "99999999999999999999"})
        EXPECT_FALSE(parse({"--color", colour}).invocation) << colour;
    EXPECT_FALSE(parse({"--width", "4"}).invocation || parse({"--fade", "3"}).invocation ||
                 parse({"--fade", "-2"}).invocation);
    EXPECT_EQ(parse({"--width"}).error, QStringLiteral("--width needs a value."));
    EXPECT_EQ(parse({"drawMode"}).error, QStringLiteral("Unknown option \"drawMode\"."));
    EXPECT_FALSE(parse({"--quit=now"}).invocation || parse({"--autostart", "yes"}).invocation);
}

TEST(CommandLine, AutostartIsACommandOfItsOwnAndQuitOnlyWhenEveryRequestIsAQuit) {
    const ParsedCommandLine on = parse({"--autostart", "on"});
    ASSERT_TRUE(on.invocation);
    EXPECT_EQ(on.invocation->mode, Invocation::Mode::command);
    EXPECT_EQ(on.invocation->autostart, true);
    EXPECT_FALSE(on.invocation->quitOnly());
    EXPECT_EQ(parse({"--autostart=off"}).invocation->autostart, false);
    EXPECT_TRUE(parse({"--quit"}).invocation->quitOnly());
    EXPECT_FALSE(parse({"--quit", "--tool", "pen"}).invocation->quitOnly());
}
