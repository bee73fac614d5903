#pragma once

#include "platform/PreferencesStore.h"

#include <QObject>
#include <QTimer>

namespace markvane::platform {

// Preferences kept in one JSON document, preferences.json in the given folder.
// Changes are written shortly after a burst of them ends, and always by
// flush() and on destruction. Stored data never stops the program: a file that
// cannot be parsed is moved aside and the defaults are used; a folder that
// cannot be written keeps the values in memory.
class JsonPreferencesStore final : public QObject, public PreferencesStore {
    Q_OBJECT
public:
    // How long a change may wait so that a burst (a slider drag) is one write.
    static constexpr int kWriteDelayMs = 200;
    // Larger files are not preferences; they are moved aside unread.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    explicit JsonPreferencesStore(const QString& folder = defaultFolder(),
                                  QObject* parent = nullptr);
    ~JsonPreferencesStore() override;

    // MARKVANE_CONFIG_DIR, else $XDG_CONFIG_HOME/markvane, else ~/.config/markvane.
    static QString defaultFolder();
    QString filePath() const;

    QVariant value(const QString& key) const override;
    bool contains(const QString& key) const override;
    void setValue(const QString& key, const QVariant& value) override;
    void remove(const QString& key) override;
    void registerDefaults(const QVariantMap& defaults) override;
    void flush() override;

private:
    void load();
    void moveAside(const QString& problem);
    void scheduleWrite();
    void writeNow();
    void warnWriteFailure(const QString& problem);

    QString m_folder;
    QVariantMap m_values;
    QVariantMap m_defaults;
    QTimer m_writeTimer;
    bool m_pending = false;
    // False when writing would replace a file that could be neither read nor
    // moved aside: the user's data wins over this session's changes.
    bool m_canWrite = true;
    // A failing disk warns once, not on every change.
    bool m_lastWriteFailed = false;
};

} // namespace markvane::platform
