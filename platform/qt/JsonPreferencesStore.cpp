#include "platform/qt/JsonPreferencesStore.h"

#include "platform/qt/PreferencesJson.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace markvane::platform {

namespace {

const QLatin1String kFileName("preferences.json");

} // namespace

JsonPreferencesStore::JsonPreferencesStore(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder) {
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(kWriteDelayMs);
    connect(&m_writeTimer, &QTimer::timeout, this, &JsonPreferencesStore::writeNow);
    load();
}

JsonPreferencesStore::~JsonPreferencesStore() {
    flush();
}

QString JsonPreferencesStore::defaultFolder() {
    const QString overridden = qEnvironmentVariable("MARKVANE_CONFIG_DIR");
    if (!overridden.isEmpty())
        return overridden;
    // Relative values of XDG_CONFIG_HOME are invalid and must be ignored.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString base =
        QDir::isAbsolutePath(xdg) ? xdg : QDir::homePath() + QLatin1String("/.config");
    return base + QLatin1String("/markvane");
}

QString JsonPreferencesStore::filePath() const {
    return QDir(m_folder).filePath(kFileName);
}

QVariant JsonPreferencesStore::value(const QString& key) const {
    const auto it = m_values.constFind(key);
    return it != m_values.constEnd() ? it.value() : m_defaults.value(key);
}

bool JsonPreferencesStore::contains(const QString& key) const {
    return m_values.contains(key) || m_defaults.contains(key);
}

void JsonPreferencesStore::setValue(const QString& key, const QVariant& value) {
    if (!value.isValid()) {
        remove(key);
        return;
    }
    QString why;
    const auto stored = normalizePreferenceValue(value, &why);
    if (!stored) {
        qWarning("Markvane: preference \"%s\" was not saved: %s", qUtf8Printable(key),
                 qUtf8Printable(why));
        return;
    }
    m_values.insert(key, *stored);
    scheduleWrite();
}

void JsonPreferencesStore::remove(const QString& key) {
    if (m_values.remove(key) > 0)
        scheduleWrite();
}

void JsonPreferencesStore::registerDefaults(const QVariantMap& defaults) {
    for (auto it = defaults.begin(); it != defaults.end(); ++it) {
        QString why;
        const auto normalized = normalizePreferenceValue(it.value(), &why);
        if (normalized && normalized->isValid())
            m_defaults.insert(it.key(), *normalized);
        else
            qWarning("Markvane: default for preference \"%s\" ignored: %s",
                     qUtf8Printable(it.key()), qUtf8Printable(why.isEmpty() ? "no value" : why));
    }
}

void JsonPreferencesStore::flush() {
    if (m_pending)
        writeNow();
}

void JsonPreferencesStore::load() {
    const QFileInfo info(filePath());
    if (!info.exists())
        return;
    // A folder or a pipe in its place is not ours to move or replace, and
    // reading a pipe could block start-up.
    if (!info.isFile()) {
        m_canWrite = false;
        qWarning("Markvane: %s is not a regular file; using the defaults and leaving it untouched",
                 qUtf8Printable(filePath()));
        return;
    }
    QFile file(filePath());
    if (file.size() > kMaxFileSize) {
        moveAside(QStringLiteral("it is larger than %1 bytes").arg(kMaxFileSize));
        return;
    }
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll();
    if (!file.isOpen() || file.error() != QFile::NoError) {
        m_canWrite = false;
        qWarning("Markvane: cannot read the preferences file %s (%s); using the defaults and "
                 "leaving the file untouched",
                 qUtf8Printable(filePath()), qUtf8Printable(file.errorString()));
        return;
    }
    QString error;
    const auto parsed = readPreferencesJson(text, &error);
    if (!parsed) {
        moveAside(error);
        return;
    }
    for (auto it = parsed->begin(); it != parsed->end(); ++it) {
        // A null member means nothing was stored.
        if (it.value().isValid())
            m_values.insert(it.key(), it.value());
    }
}

void JsonPreferencesStore::moveAside(const QString& problem) {
    const QString path = filePath();
    const QString stem = path + QLatin1String(".corrupt-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    // Never replace an earlier corrupt file: the first free name wins.
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString target = attempt == 1 ? stem : stem + u'-' + QString::number(attempt);
        if (QFile::exists(target))
            continue;
        if (QFile::rename(path, target)) {
            qWarning("Markvane: the preferences file could not be used (%s); moved it to %s and "
                     "using the defaults",
                     qUtf8Printable(problem), qUtf8Printable(target));
            return;
        }
        break;
    }
    m_canWrite = false;
    qWarning("Markvane: the preferences file %s could not be used (%s) nor moved aside; using the "
             "defaults and leaving the file untouched",
             qUtf8Printable(path), qUtf8Printable(problem));
}

void JsonPreferencesStore::scheduleWrite() {
    m_pending = true;
    // Not restarted by later changes, so a long drag still saves every interval.
    if (!m_writeTimer.isActive())
        m_writeTimer.start();
}

void JsonPreferencesStore::writeNow() {
    m_writeTimer.stop();
    if (!m_canWrite) {
        m_pending = false;
        return;
    }
    if (!QDir().mkpath(m_folder)) {
        warnWriteFailure(QStringLiteral("cannot create the folder %1").arg(m_folder));
        return;
    }
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly)) {
        warnWriteFailure(file.errorString());
        return;
    }
    file.write(writePreferencesJson(m_values));
    if (!file.commit()) {
        warnWriteFailure(file.errorString());
        return;
    }
    m_pending = false;
    m_lastWriteFailed = false;
}

void JsonPreferencesStore::warnWriteFailure(const QString& problem) {
    // The values stay in memory; a later change or flush tries again.
    if (!m_lastWriteFailed)
        qWarning("Markvane: preferences could not be saved to %s (%s); changes are kept in memory "
                 "only",
                 qUtf8Printable(filePath()), qUtf8Printable(problem));
    m_lastWriteFailed = true;
}

} // namespace markvane::platform
