#include "TCommandPlaces.h"

void TCommandPlaces::Add(const QString &place, const QList<QAction *> &actions)
{
    for (auto &p : FPlaces)
        if (p.first == place) {
            p.second += actions;
            return;
        }
    FPlaces.emplace_back(place, actions);
}

QList<QAction *> TCommandPlaces::At(const QString &place) const
{
    for (const auto &p : FPlaces)
        if (p.first == place)
            return p.second;
    return {};
}

QList<QAction *> TCommandPlaces::All() const
{
    QList<QAction *> all;
    for (const auto &p : FPlaces)
        for (QAction *a : p.second)
            if (!all.contains(a))
                all.append(a);
    return all;
}
