#include "core/settings/SettingsCodec.h"

#include <cmath>

float SettingsCodec::heightFromText(const QString& text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value) || value <= 0.0f)
        return static_cast<float>(DefaultHeight);
    return value;
}

QString SettingsCodec::textFromHeight(int twips)
{
    return QString::number(twips);
}

bool SettingsCodec::boolFromText(const QString& text)
{
    const QString word = text.trimmed();
    if (word.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const qlonglong number = word.toLongLong(&ok);
    return ok && number != 0;
}

QString SettingsCodec::textFromBool(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
