#include "SysUtils.h"

QString StringReplace(const QString& text, const QString& oldPattern, const QString& newPattern,
                      TReplaceFlags flags) {
    if (oldPattern.isEmpty())
        return text;
    const Qt::CaseSensitivity cs =
        flags.Contains(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QString result;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(oldPattern, from, cs);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        result += newPattern;
        from = at + oldPattern.size();
        if (!flags.Contains(rfReplaceAll))
            break;
    }
    result += QStringView(text).mid(from);
    return result;
}
