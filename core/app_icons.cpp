#include "core/app_icons.h"

QIcon PlayerIcon()
{
    return QIcon(QStringLiteral(":/icons/quintara.png"));
}

QIcon VideoIcon()
{
    return QIcon(QStringLiteral(":/icons/video.png"));
}
