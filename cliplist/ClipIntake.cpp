#include "ClipIntake.h"

#include "Dispatch.h"
#include "MediaProbe.h"
#include "ResourceBundle.h"
#include "SimpleData.h"

#include <QFileInfo>
#include <QPointer>

void ClipIntake::probeNow(const QStringList& paths, QList<std::shared_ptr<SimpleData>>& added, QStringList& rejected) {
    for (const QString& path : paths) {
        std::shared_ptr<SimpleData> record = MediaProbe::getVideoInfomation(path, MediaProbe::Variant::TrimEndAndIcon);
        if (record)
            added << record;
        else
            rejected << QFileInfo(path).fileName();
    }
}

void ClipIntake::probe(const QStringList& paths, QObject* context, Done done) {
    QPointer<QObject> guard(context);
    Dispatch::background([paths, guard, done = std::move(done)] {
        QList<std::shared_ptr<SimpleData>> added;
        QStringList rejected;
        probeNow(paths, added, rejected);
        Dispatch::main([guard, done, added, rejected] {
            if (guard)
                done(added, rejected);
        });
    });
}

QString ClipIntake::rejectedText(const QStringList& names) {
    return ResourceBundle::localizedStringForKey(QStringLiteral("nonsupportfilesstringValue")) +
           names.join(QLatin1Char(','));
}
