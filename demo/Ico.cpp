#include "demo/Ico.h"

namespace kv
{

namespace
{

int checkDigit(const QString& body)
{
    int sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += body.at(i).digitValue() * (8 - i);
    const int r = sum % 11;
    return r == 0 ? 1 : r == 1 ? 0 : 11 - r;
}

} // namespace

QString Ico::fromBody(int body)
{
    const QString b = QStringLiteral("%1").arg(body, 7, 10, QLatin1Char('0'));
    return b + QChar(u'0' + checkDigit(b));
}

bool Ico::isValid(const QString& ico)
{
    if (ico.size() != 8)
        return false;
    for (const QChar c : ico)
        if (c < u'0' || c > u'9')
            return false;
    return ico.at(7).digitValue() == checkDigit(ico);
}

} // namespace kv
