#include "EffectListFile.h"

#include "ResourceBundle.h"

#include <QFile>
#include <QXmlStreamReader>

#include <limits>
#include <optional>

namespace {

// Reads the value element the reader stands on (after its key): a string or an integer, as text. Other kinds
// are skipped and give a null string.
QString readValue(QXmlStreamReader& xml, bool* isInteger) {
    const QString kind = xml.name().toString();
    *isInteger = kind == "integer";
    if (kind == "string" || kind == "integer")
        return xml.readElementText();
    xml.skipCurrentElement();
    return {};
}

std::optional<EffectListEntry> readEntry(QXmlStreamReader& xml) {
    QString name;
    std::optional<int> id;
    bool haveName = false;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"key") {
            xml.skipCurrentElement();
            continue;
        }
        const QString key = xml.readElementText();
        if (!xml.readNextStartElement())
            break;
        bool isInteger = false;
        const QString value = readValue(xml, &isInteger);
        if (key == "EffectName" && !isInteger && !value.isNull()) {
            name = value;
            haveName = true;
        } else if (key == "EffectId" && isInteger) {
            bool ok = false;
            const qlonglong number = value.trimmed().toLongLong(&ok);
            if (ok && number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max())
                id = static_cast<int>(number);
        }
    }
    if (!haveName || !id)
        return std::nullopt;
    return EffectListEntry{name, *id};
}

} // namespace

QList<EffectListEntry> EffectListFile::parse(const QByteArray& contents) {
    QList<EffectListEntry> entries;
    QXmlStreamReader xml(contents);
    if (!xml.readNextStartElement() || xml.name() != u"plist")
        return {};
    if (!xml.readNextStartElement() || xml.name() != u"array")
        return {};
    while (xml.readNextStartElement()) {
        if (xml.name() != u"dict") {
            xml.skipCurrentElement();
            continue;
        }
        if (auto entry = readEntry(xml))
            entries.append(*entry);
    }
    if (xml.hasError())
        return {};
    return entries;
}

QList<EffectListEntry> EffectListFile::read(const QString& path) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return parse(file.readAll());
}

QList<EffectListEntry> EffectListFile::bundled() {
    return read(ResourceBundle::pathForResource("EffectList.plist"));
}
