#include "app/Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace markvane {

Autostart::Autostart(QString configHome, QString program)
    : m_configHome(std::move(configHome)), m_program(std::move(program)) {}

Autostart Autostart::forThisProgram() {
    return Autostart(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                     QCoreApplication::applicationFilePath());
}

QString Autostart::entryPath() const {
    return m_configHome + QStringLiteral("/autostart/markvane.desktop");
}

bool Autostart::isEnabled() const {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // A desktop may keep the file and mark it hidden instead of deleting it.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

bool Autostart::setEnabled(bool enabled, QString* error) {
    const QString path = entryPath();
    if (!enabled) {
        if (!QFileInfo::exists(path) || QFile::remove(path))
            return true;
        if (error)
            *error = QStringLiteral("Cannot remove %1.").arg(path);
        return false;
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        if (error)
            *error = QStringLiteral("Cannot create the folder of %1.").arg(path);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        file.write(entryText(m_program).toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString Autostart::quoteExecArgument(const QString& argument) {
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    bool needsQuotes = argument.isEmpty();
    for (QChar c : argument)
        needsQuotes = needsQuotes || reserved.contains(c);
    // Quoting rule first: a literal percent sign is always doubled (the
    // launcher expands field codes), and inside quotes ", `, $ and \ get a
    // backslash.
    QString quoted;
    for (QChar c : argument) {
        if (c == QLatin1Char('%'))
            quoted += QLatin1String("%%");
        else if (needsQuotes && QStringLiteral("\"`$\\").contains(c))
            quoted += QLatin1Char('\\') + c;
        else
            quoted += c;
    }
    if (needsQuotes)
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    // Then the escaping of every string value in a desktop file, so that
    // control characters cannot break the line.
    QString escaped;
    for (QChar c : quoted) {
        if (c == QLatin1Char('\\'))
            escaped += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            escaped += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            escaped += QLatin1String("\\r");
        else
            escaped += c;
    }
    return escaped;
}

QString Autostart::entryText(const QString& program) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Markvane\n"
                          "Comment=Draw on your screen while you present\n"
                          "Exec=%1\n"
                          "Icon=markvane\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(quoteExecArgument(program));
}

} // namespace markvane
