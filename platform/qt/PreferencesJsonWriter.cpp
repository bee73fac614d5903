// Writes preference values as JSON text. Qt's own writer prints 1.0 as "1",
// which reads back as an integer, so the program writes its own.
#include "platform/qt/PreferencesJson.h"

#include <QLocale>
#include <cmath>

namespace markvane::platform {

namespace {

void writeString(const QString& text, QByteArray& out) {
    out += '"';
    const qsizetype n = text.size();
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            out += QStringView(text).sliced(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        // A surrogate that is not half of a pair has no UTF-8 form: keep it as
        // an escape so the string reads back unchanged.
        const bool pairedHigh = c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate();
        const bool pairedLow = c.isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate();
        const bool loneSurrogate = c.isSurrogate() && !pairedHigh && !pairedLow;
        if (u >= 0x20 && u != '"' && u != '\\' && !loneSurrogate)
            continue;
        flushRun(i);
        runStart = i + 1;
        switch (u) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
        }
    }
    flushRun(n);
    out += '"';
}

QString escapedKey(const QString& key) {
    return key.startsWith(u'$') ? u'$' + key : key;
}

void indent(int depth, QByteArray& out) {
    out += '\n';
    out += QByteArray(depth * 4, ' ');
}

void writeValue(const QVariant& value, int depth, QByteArray& out);

void writeObject(const QVariantMap& map, int depth, QByteArray& out) {
    if (map.isEmpty()) {
        out += "{}";
        return;
    }
    out += '{';
    bool first = true;
    for (auto it = map.begin(); it != map.end(); ++it) {
        if (!first)
            out += ',';
        first = false;
        indent(depth + 1, out);
        writeString(escapedKey(it.key()), out);
        out += ": ";
        writeValue(it.value(), depth + 1, out);
    }
    indent(depth, out);
    out += '}';
}

void writeArray(const QVariantList& list, int depth, QByteArray& out) {
    if (list.isEmpty()) {
        out += "[]";
        return;
    }
    out += '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += ',';
        indent(depth + 1, out);
        writeValue(list.at(i), depth + 1, out);
    }
    indent(depth, out);
    out += ']';
}

void writeDouble(double d, QByteArray& out) {
    // Qt prints -0.0 as "0".
    QByteArray text = d == 0 && std::signbit(d)
                          ? QByteArray("-0")
                          : QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    // "1" or "-0" would read back as integers.
    if (!text.contains('.') && !text.contains('e'))
        text += ".0";
    out += text;
}

void writeValue(const QVariant& value, int depth, QByteArray& out) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        out += value.toBool() ? "true" : "false";
        return;
    case QMetaType::LongLong:
        out += QByteArray::number(value.toLongLong());
        return;
    case QMetaType::Double:
        writeDouble(value.toDouble(), out);
        return;
    case QMetaType::QString:
        writeString(value.toString(), out);
        return;
    case QMetaType::QByteArray: {
        out += "{\"$data\": \"";
        out += value.toByteArray().toBase64();
        out += "\"}";
        return;
    }
    case QMetaType::QVariantList:
        writeArray(value.toList(), depth, out);
        return;
    case QMetaType::QVariantMap:
        writeObject(value.toMap(), depth, out);
        return;
    default:
        // Null, and anything that was not normalized first.
        out += "null";
    }
}

} // namespace

QByteArray writePreferencesJson(const QVariantMap& values) {
    QByteArray out;
    writeObject(values, 0, out);
    out += '\n';
    return out;
}

} // namespace markvane::platform
