#pragma once

#include <QString>

namespace markvane {

// The "start at login" entry: an XDG autostart desktop file written and
// removed by the program itself.
class Autostart {
public:
    // `configHome` is the XDG configuration folder ($XDG_CONFIG_HOME or
    // ~/.config); `program` the absolute path of the binary to start.
    Autostart(QString configHome, QString program);

    // The folder and binary of this process's environment.
    static Autostart forThisProgram();

    QString entryPath() const;
    // True when our entry exists and the desktop has not been told to skip it.
    bool isEnabled() const;
    // Writes or removes the entry; on failure returns false and says why.
    bool setEnabled(bool enabled, QString* error);

    // The desktop-entry text that starts `program`.
    static QString entryText(const QString& program);
    // One argument of an Exec line, quoted where the desktop-entry rules need it.
    static QString quoteExecArgument(const QString& argument);

private:
    QString m_configHome;
    QString m_program;
};

} // namespace markvane
