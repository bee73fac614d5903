// A strict JSON reader for the preferences file. Qt's reader turns 1.0 into an
// integer, so the program reads the text itself and keeps integers (no
// fraction, no exponent) apart from doubles.
#include "platform/qt/PreferencesJson.h"

#include <QStringDecoder>
#include <cmath>

namespace markvane::platform {

namespace {

class Reader {
public:
    explicit Reader(const QByteArray& text) : m_text(text) {}

    std::optional<QVariantMap> document(QString* error) {
        // Tolerate a byte order mark: some editors add one.
        if (m_text.startsWith("\xEF\xBB\xBF"))
            m_pos = 3;
        skipSpace();
        std::optional<QVariantMap> root;
        if (peek() != '{')
            fail(QStringLiteral("the document is not a JSON object"));
        else if (auto value = parseValue(0))
            root = value->toMap();
        if (root) {
            skipSpace();
            if (m_pos != m_text.size())
                fail(QStringLiteral("unexpected text after the end of the document"));
        }
        if (!m_error.isEmpty()) {
            if (error)
                *error = QStringLiteral("%1 at byte %2").arg(m_error).arg(m_pos);
            return std::nullopt;
        }
        return root;
    }

private:
    char peek() const { return m_pos < m_text.size() ? m_text.at(m_pos) : '\0'; }
    bool atEnd() const { return m_pos >= m_text.size(); }

    std::nullopt_t fail(const QString& message) {
        if (m_error.isEmpty())
            m_error = message;
        return std::nullopt;
    }

    void skipSpace() {
        while (!atEnd()) {
            const char c = peek();
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
                return;
            ++m_pos;
        }
    }

    bool consume(const char* word) {
        const qsizetype n = qsizetype(qstrlen(word));
        if (QByteArrayView(m_text).sliced(m_pos).startsWith(QByteArrayView(word, n))) {
            m_pos += n;
            return true;
        }
        return false;
    }

    std::optional<QVariant> parseValue(int depth) {
        skipSpace();
        if (atEnd())
            return fail(QStringLiteral("unexpected end of the document"));
        const char c = peek();
        if (c == '{' || c == '[') {
            if (depth >= kMaxPreferenceDepth)
                return fail(QStringLiteral("arrays and objects nest too deep"));
            return c == '{' ? parseObject(depth) : parseArray(depth);
        }
        if (c == '"') {
            auto text = parseString();
            if (!text)
                return std::nullopt;
            return QVariant(*text);
        }
        if (c == '-' || (c >= '0' && c <= '9'))
            return parseNumber();
        if (consume("true"))
            return QVariant(true);
        if (consume("false"))
            return QVariant(false);
        if (consume("null"))
            return QVariant();
        return fail(QStringLiteral("unexpected character"));
    }

    std::optional<QVariant> parseObject(int depth) {
        ++m_pos; // '{'
        QVariantMap map;
        skipSpace();
        if (peek() == '}') {
            ++m_pos;
            return QVariant(map);
        }
        for (;;) {
            skipSpace();
            if (peek() != '"')
                return fail(QStringLiteral("expected a member name"));
            auto key = parseString();
            if (!key)
                return std::nullopt;
            skipSpace();
            if (peek() != ':')
                return fail(QStringLiteral("expected ':'"));
            ++m_pos;
            auto value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            map.insert(*key, *value);
            skipSpace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() == '}') {
                ++m_pos;
                return decodeObject(map, depth);
            }
            return fail(QStringLiteral("expected ',' or '}'"));
        }
    }

    // {"$data": base64} is byte data (except as the document itself); "$$name"
    // is the escaped form of "$name".
    static QVariant decodeObject(const QVariantMap& map, int depth) {
        if (depth > 0 && map.size() == 1 && map.firstKey() == QLatin1String("$data") &&
            map.first().metaType().id() == QMetaType::QString) {
            auto decoded = QByteArray::fromBase64Encoding(map.first().toString().toLatin1(),
                                                          QByteArray::AbortOnBase64DecodingErrors);
            if (decoded)
                return QVariant(*decoded);
        }
        QVariantMap out;
        for (auto it = map.begin(); it != map.end(); ++it)
            out.insert(it.key().startsWith(QLatin1String("$$")) ? it.key().mid(1) : it.key(),
                       it.value());
        return QVariant(out);
    }

    std::optional<QVariant> parseArray(int depth) {
        ++m_pos; // '['
        QVariantList list;
        skipSpace();
        if (peek() == ']') {
            ++m_pos;
            return QVariant(list);
        }
        for (;;) {
            auto value = parseValue(depth + 1);
            if (!value)
                return std::nullopt;
            list.append(*value);
            skipSpace();
            if (peek() == ',') {
                ++m_pos;
                continue;
            }
            if (peek() == ']') {
                ++m_pos;
                return QVariant(list);
            }
            return fail(QStringLiteral("expected ',' or ']'"));
        }
    }

    qsizetype skipDigits() {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() >= '0' && peek() <= '9')
            ++m_pos;
        return m_pos - start;
    }

    std::optional<QVariant> parseNumber() {
        const qsizetype start = m_pos;
        if (peek() == '-')
            ++m_pos;
        if (peek() == '0') {
            ++m_pos;
        } else if (skipDigits() == 0) {
            return fail(QStringLiteral("malformed number"));
        }
        bool integral = true;
        if (peek() == '.') {
            ++m_pos;
            integral = false;
            if (skipDigits() == 0)
                return fail(QStringLiteral("malformed number"));
        }
        if (peek() == 'e' || peek() == 'E') {
            ++m_pos;
            integral = false;
            if (peek() == '+' || peek() == '-')
                ++m_pos;
            if (skipDigits() == 0)
                return fail(QStringLiteral("malformed number"));
        }
        const QByteArray lexeme = m_text.mid(start, m_pos - start);
        bool ok = false;
        if (integral) {
            const qlonglong n = lexeme.toLongLong(&ok);
            if (ok)
                return QVariant(n);
            // Beyond 64 bits: keep it as the nearest double.
        }
        const double d = lexeme.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            return fail(QStringLiteral("number out of range"));
        return QVariant(d);
    }

    static int hexValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    std::optional<QString> parseString() {
        ++m_pos; // opening quote
        QString out;
        qsizetype runStart = m_pos;
        const auto flushRun = [&] {
            out += QString::fromUtf8(QByteArrayView(m_text).sliced(runStart, m_pos - runStart));
        };
        for (;;) {
            if (atEnd())
                return fail(QStringLiteral("unterminated string"));
            const unsigned char c = static_cast<unsigned char>(peek());
            if (c == '"') {
                flushRun();
                ++m_pos;
                return out;
            }
            if (c < 0x20)
                return fail(QStringLiteral("control character in a string"));
            if (c != '\\') {
                ++m_pos;
                continue;
            }
            flushRun();
            ++m_pos;
            const char e = peek();
            ++m_pos;
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += QChar(e);
                break;
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'u': {
                if (m_pos + 4 > m_text.size())
                    return fail(QStringLiteral("malformed \\u escape"));
                int code = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = hexValue(m_text.at(m_pos + i));
                    if (digit < 0)
                        return fail(QStringLiteral("malformed \\u escape"));
                    code = code * 16 + digit;
                }
                m_pos += 4;
                out += QChar(char16_t(code));
                break;
            }
            default:
                --m_pos;
                return fail(QStringLiteral("unknown escape in a string"));
            }
            runStart = m_pos;
        }
    }

    const QByteArray& m_text;
    qsizetype m_pos = 0;
    QString m_error;
};

} // namespace

std::optional<QVariantMap> readPreferencesJson(const QByteArray& text, QString* error) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    if (utf8.hasError()) {
        if (error)
            *error = QStringLiteral("the file is not UTF-8 text");
        return std::nullopt;
    }
    return Reader(text).document(error);
}

} // namespace markvane::platform
