// The desktop told of a job over a session bus of the test's own: the
// launcher's progress while the job runs and its clearing at the end, and a
// notification only when the window is not the active one.
#include <QDBusConnection>
#include <QTest>
#include <QVariantMap>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "app/desktop_bus.h"
#include "app/preview_pane_adapter.h"
#include "app/recent_file_list.h"
#include "zev_frame_test_support.h"

namespace {

// A dbus-daemon started for the test and ended with it.
class PrivateBus {
public:
    PrivateBus() {
        FILE* out =
            popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
        if (!out) return;
        char line[1024];
        if (std::fgets(line, sizeof line, out)) m_address = QString::fromLocal8Bit(line).trimmed();
        if (std::fgets(line, sizeof line, out)) m_pid = std::atoi(line);
        pclose(out);
    }
    ~PrivateBus() {
        if (m_pid > 0) kill(m_pid, SIGTERM);
    }
    bool Running() const { return m_pid > 0 && !m_address.isEmpty(); }
    const QString& Address() const { return m_address; }

private:
    QString m_address;
    pid_t m_pid = 0;
};

// Stands in for the desktop: the notification service, and a dock that
// listens to the launcher's signal.
class DesktopListener : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Update {
        QString appUri;
        double progress;
        bool visible;
    };
    QList<Update> updates;
    QStringList notes;  // "summary|body"

public slots:
    uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
                const QStringList&, const QVariantMap&, int) {
        notes << summary + QLatin1Char('|') + body;
        return static_cast<uint>(notes.size());
    }
    void OnLauncherUpdate(const QString& appUri, const QVariantMap& properties) {
        updates.push_back({appUri, properties.value(QStringLiteral("progress")).toDouble(),
                           properties.value(QStringLiteral("progress-visible")).toBool()});
    }
};

template <class Done>
void WaitFor(Done done, int ms = 10000) {
    for (int waited = 0; !done() && waited < ms; waited += 20) QTest::qWait(20);
}

}  // namespace

TEST_F(FrameTest, TheDesktopSeesTheProgressAndANotificationWhenTheWindowIsNotActive) {
    PrivateBus bus;
    if (!bus.Running())
        GTEST_SKIP() << "dbus-daemon could not be started; scripts/install-deps.sh installs it";
    QDBusConnection listenerBus = QDBusConnection::connectToBus(bus.Address(), "desktop");
    QDBusConnection zevBus = QDBusConnection::connectToBus(bus.Address(), "zev");
    ASSERT_TRUE(listenerBus.isConnected() && zevBus.isConnected());
    DesktopListener desktop;
    ASSERT_TRUE(listenerBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                                           &desktop, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(listenerBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    ASSERT_TRUE(listenerBus.connect(
        QString(), QString(), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"), &desktop, SLOT(OnLauncherUpdate(QString, QVariantMap))));
    CDesktopBus desktopBus(zevBus);
    MakeFrame([&](MainFrameServices& s) {
        s.desktop = &desktopBus;
        s.progressIntervalMs = 50;
        s.finishWaitMs = 100;
    });
    // Long enough for progress ticks: a job that ends before its first one
    // never shows progress on the launcher, and has none to clear.
    LoadThroughBrowse(s_longClip);
    auto cleared = [&] { return !desktop.updates.isEmpty() && !desktop.updates.last().visible; };

    // Watched in the window: the launcher only.
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
    ConvertTo(m_dir.Path("watched.wmv"));
    WaitFor(cleared);
    ASSERT_TRUE(cleared());
    bool progressShown = false;
    for (const auto& u : desktop.updates) {
        EXPECT_EQ(QStringLiteral("application://zev.desktop"), u.appUri);
        progressShown |= u.visible && u.progress > 0 && u.progress <= 1;
    }
    EXPECT_TRUE(progressShown);
    QTest::qWait(200);
    EXPECT_TRUE(desktop.notes.isEmpty()) << desktop.notes.join('\n').toStdString();

    // Another window active: the end is told.
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    desktop.updates.clear();
    desktop.notes.clear();
    ConvertTo(m_dir.Path("away.wmv"));
    WaitFor([&] { return !desktop.notes.isEmpty() && cleared(); });
    EXPECT_EQ("Converting complete|away.wmv", desktop.notes.join('\n').toStdString());
    EXPECT_TRUE(cleared());

    QDBusConnection::disconnectFromBus(QStringLiteral("zev"));
    QDBusConnection::disconnectFromBus(QStringLiteral("desktop"));
}

#include "zev_desktop_test.moc"
