#include "NotificationCenter.h"

#include <QObject>
#include <gtest/gtest.h>

namespace {

struct Recorder {
    QStringList seen;
};

} // namespace

TEST(NotificationCenter, DeliversByNameAndObject) {
    NotificationCenter center;
    QObject windowA, windowB;
    Recorder any, onlyA, everything;
    center.addObserver(&any, kWillCloseNotification, [&](const Notification& n) { any.seen << n.name; });
    center.addObserver(
        &onlyA, kWindowWillCloseNotification, [&](const Notification& n) { onlyA.seen << n.object->objectName(); },
        &windowA);
    center.addObserver(&everything, QString(), [&](const Notification& n) { everything.seen << n.name; });
    windowA.setObjectName("A");

    center.post(kWillCloseNotification);
    center.post(kWindowWillCloseNotification, &windowB);
    center.post(kWindowWillCloseNotification, &windowA);

    EXPECT_EQ(any.seen, QStringList{kWillCloseNotification});
    EXPECT_EQ(onlyA.seen, QStringList{"A"});
    EXPECT_EQ(everything.seen,
              (QStringList{kWillCloseNotification, kWindowWillCloseNotification, kWindowWillCloseNotification}));
}

TEST(NotificationCenter, RemovesObserversByOwnerAlsoDuringDelivery) {
    NotificationCenter center;
    Recorder first, second, third;
    center.addObserver(&first, "N", [&](const Notification&) {
        first.seen << "first";
        center.removeObserver(&second); // an earlier observer drops a later one: it is not called
        center.removeObserver(&first);  // and itself
    });
    center.addObserver(&second, "N", [&](const Notification&) { second.seen << "second"; });
    center.addObserver(&third, "N", [&](const Notification&) { third.seen << "third"; });
    center.addObserver(&third, "Other", [&](const Notification&) { third.seen << "other"; });

    center.post("N");
    center.post("N");
    EXPECT_EQ(first.seen, QStringList{"first"});
    EXPECT_TRUE(second.seen.isEmpty());
    EXPECT_EQ(third.seen, (QStringList{"third", "third"}));

    center.removeObserver(&third, "N");
    center.post("N");
    center.post("Other");
    EXPECT_EQ(third.seen, (QStringList{"third", "third", "other"}));
    center.removeObserver(&third);
    EXPECT_EQ(center.observerCount(), 0);
}
