#include "TCommand.h"

#include "TToolIcons.h"

#include <QAction>

QAction *TCommand::Make(QObject *owner, const char *name, const QString &caption, const QKeySequence &key,
                        const QString &hint, const QString &icon, int tag)
{
    auto *a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty())
        a->setShortcut(key);
    a->setToolTip(hint.isEmpty() ? QString(caption).remove(QLatin1Char('&')) : hint);
    a->setStatusTip(hint);
    if (!icon.isEmpty())
        a->setIcon(TToolIcons::Icon(icon));
    a->setData(tag);
    return a;
}

QAction *TCommand::Checkable(QAction *a, bool checked)
{
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

int TCommand::Tag(const QAction *action) { return action ? action->data().toInt() : -1; }
