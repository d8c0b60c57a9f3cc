#include "qtext.h"

#include "database/records/errors.h"
#include "database/records/text.h"

namespace vh::ui {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FromCp1252(std::string_view bytes) {
    QString s;
    s.resize(static_cast<qsizetype>(bytes.size()));
    QChar* out = s.data();
    for (char c : bytes)
        *out++ = QChar(static_cast<char16_t>(db::Cp1252ToUnicode(static_cast<std::uint8_t>(c))));
    return s;
}

bool TryToCp1252(const QString& text, std::string& out) {
    out.clear();
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar ch : text) {
        const int b = ch.isSurrogate() ? -1 : db::UnicodeToCp1252(ch.unicode());
        if (b < 0) return false;
        out += static_cast<char>(b);
    }
    return true;
}

std::string ToCp1252(const QString& text) {
    std::string out;
    if (TryToCp1252(text, out)) return out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch.isSurrogate() || db::UnicodeToCp1252(ch.unicode()) < 0) {
            const QString bad =
                ch.isHighSurrogate() && i + 1 < text.size() ? text.mid(i, 2) : QString(ch);
            throw db::EConvertError(
                QStringLiteral(
                    "'%1' holds the character '%2', which the game's files cannot store.")
                    .arg(text, bad)
                    .toStdString());
        }
    }
    return out;
}

}  // namespace vh::ui
