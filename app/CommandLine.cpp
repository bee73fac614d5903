#include "app/CommandLine.h"

#include "app/ControlValues.h"
#include "app/RemoteProtocol.h"

namespace markvane {
namespace {

QString actionNames() {
    QStringList names;
    for (const remote::ActionMethod& entry : remote::actionMethods())
        names << QString::fromLatin1(entry.action);
    return names.join(QLatin1String(", "));
}

// Turns one option and its value into a request, or explains what is wrong.
std::optional<RemoteRequest> requestFor(const QString& option, const QString& value,
                                        QString* error) {
    if (option == QLatin1String("--action")) {
        if (const auto method = remote::methodForAction(value))
            return RemoteRequest{*method, {}};
        *error =
            QStringLiteral("Unknown action \"%1\". Choose one of: %2.").arg(value, actionNames());
        return std::nullopt;
    }
    if (option == QLatin1String("--tool")) {
        if (const auto tool = parseToolName(value, error))
            return RemoteRequest{QStringLiteral("SetTool"), {toolRawValue(*tool)}};
        return std::nullopt;
    }
    if (option == QLatin1String("--color") || option == QLatin1String("--colour")) {
        if (const auto number = parseColourNumber(value, error))
            return RemoteRequest{QStringLiteral("SetColor"), {*number}};
        return std::nullopt;
    }
    if (option == QLatin1String("--width")) {
        if (const auto number = parseWidthNumber(value, error))
            return RemoteRequest{QStringLiteral("SetWidth"), {*number}};
        return std::nullopt;
    }
    if (const auto fade = parseFadeSeconds(value, error))
        return RemoteRequest{QStringLiteral("SetFade"), {fadeIntervalSeconds(*fade)}};
    return std::nullopt;
}

bool takesValue(const QString& option) {
    static const QStringList options{QStringLiteral("--action"),   QStringLiteral("--tool"),
                                     QStringLiteral("--color"),    QStringLiteral("--colour"),
                                     QStringLiteral("--width"),    QStringLiteral("--fade"),
                                     QStringLiteral("--autostart")};
    return options.contains(option);
}

} // namespace

bool Invocation::quitOnly() const {
    if (requests.isEmpty())
        return false;
    for (const RemoteRequest& request : requests) {
        if (request.method != QLatin1String("Quit"))
            return false;
    }
    return true;
}

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {Invocation{Invocation::Mode::help, {}, {}}, {}};
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return {Invocation{Invocation::Mode::version, {}, {}}, {}};
    }

    Invocation invocation;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments[i];
        std::optional<QString> value;
        if (const qsizetype equals = option.indexOf(QLatin1Char('=')); equals > 0) {
            value = option.mid(equals + 1);
            option.truncate(equals);
        }

        if (option == QLatin1String("--quit")) {
            if (value)
                return {std::nullopt, QStringLiteral("--quit takes no value.")};
            invocation.requests.append({QStringLiteral("Quit"), {}});
            continue;
        }
        if (!takesValue(option))
            return {std::nullopt, QStringLiteral("Unknown option \"%1\".").arg(arguments[i])};
        if (!value) {
            if (i + 1 >= arguments.size())
                return {std::nullopt, QStringLiteral("%1 needs a value.").arg(option)};
            value = arguments[++i];
        }

        if (option == QLatin1String("--autostart")) {
            if (*value == QLatin1String("on"))
                invocation.autostart = true;
            else if (*value == QLatin1String("off"))
                invocation.autostart = false;
            else
                return {
                    std::nullopt,
                    QStringLiteral("--autostart takes \"on\" or \"off\", not \"%1\".").arg(*value)};
            continue;
        }
        QString error;
        const std::optional<RemoteRequest> request = requestFor(option, *value, &error);
        if (!request)
            return {std::nullopt, error};
        invocation.requests.append(*request);
    }
    if (invocation.autostart || !invocation.requests.isEmpty())
        invocation.mode = Invocation::Mode::command;
    return {invocation, {}};
}

QString usageText() {
    return QStringLiteral(
               "Usage: markvane [option...]\n"
               "\n"
               "Without options, starts Markvane, or brings the running one forward.\n"
               "Options send a command to the running Markvane, starting it first if needed:\n"
               "  --action NAME      perform a global action: %1\n"
               "  --tool NAME        choose a drawing tool: pen, highlighter, line, arrow,\n"
               "                     rectangle, ellipse, text, ruler, eraser, move\n"
               "  --color N          choose palette colour N (1 to 5)\n"
               "  --width N          choose stroke width N (1 thin, 2 medium, 3 thick)\n"
               "  --fade SECONDS     fade new annotations after 2, 5 or 10 seconds (0: never)\n"
               "  --quit             quit the running Markvane\n"
               "  --autostart on|off start Markvane at login, or stop doing so\n"
               "  --help             show this text\n"
               "  --version          show the version\n"
               "Several options run in the order given.\n")
        .arg(actionNames());
}

} // namespace markvane
