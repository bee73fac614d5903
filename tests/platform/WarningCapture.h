#pragma once

#include <QStringList>
#include <QtGlobal>

namespace markvane::testing {

// Collects qWarning() lines while it lives, instead of printing them.
class WarningCapture {
public:
    WarningCapture() {
        s_lines = &m_lines;
        m_previous = qInstallMessageHandler(&WarningCapture::handle);
    }
    ~WarningCapture() {
        qInstallMessageHandler(m_previous);
        s_lines = nullptr;
    }
    WarningCapture(const WarningCapture&) = delete;
    WarningCapture& operator=(const WarningCapture&) = delete;

    const QStringList& lines() const { return m_lines; }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (s_lines && type == QtWarningMsg)
            s_lines->append(message);
    }

    inline static QStringList* s_lines = nullptr;
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};

} // namespace markvane::testing
