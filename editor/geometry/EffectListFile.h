#pragma once

#include <QList>
#include <QString>

// One row of the effect list: its title and the id the player and the conversion job take.
struct EffectListEntry {
    QString name;
    int id = 0;
    bool operator==(const EffectListEntry&) const = default;
};

// The effect list file (Settings.bundle/EffectList.plist): a property list whose root is an array of
// dictionaries with "EffectName" (string) and "EffectId" (integer), one per row, top to bottom.
class EffectListFile {
public:
    // The rows in file order. A missing or unreadable file, or one whose root is not an array, gives an empty
    // list; an element without a name or a whole-number id is left out.
    static QList<EffectListEntry> read(const QString& path);
    static QList<EffectListEntry> parse(const QByteArray& contents);
    // The bundle's list.
    static QList<EffectListEntry> bundled();
};
