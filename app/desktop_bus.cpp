#include "app/desktop_bus.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

#include "convert/common/program_names.h"

namespace {

constexpr char kLauncherPath[] = "/com/canonical/unity/launcherentry/zev";
constexpr char kLauncherInterface[] = "com.canonical.Unity.LauncherEntry";
constexpr char kNotifyService[] = "org.freedesktop.Notifications";
constexpr char kNotifyPath[] = "/org/freedesktop/Notifications";
// The icon and desktop entry of resources/desktop/zev.desktop.
constexpr char kDesktopEntry[] = "zev";
// The notification server's own default time on screen.
constexpr int kServerTimeout = -1;

}  // namespace

CDesktopBus::CDesktopBus(QDBusConnection bus) : m_bus(std::move(bus)) {}

void CDesktopBus::ShowJobProgress(int percent) {
    UpdateLauncher(qBound(0, percent, 100) / 100.0, true);
}

void CDesktopBus::ClearJobProgress() {
    UpdateLauncher(0.0, false);
}

void CDesktopBus::UpdateLauncher(double progress, bool visible) {
    if (!m_bus.isConnected()) return;
    QDBusMessage update = QDBusMessage::createSignal(
        QLatin1String(kLauncherPath), QLatin1String(kLauncherInterface), QStringLiteral("Update"));
    update << QString::fromLatin1(kAppUri)
           << QVariantMap{{QStringLiteral("progress"), progress},
                          {QStringLiteral("progress-visible"), visible}};
    m_bus.send(update);
}

void CDesktopBus::Notify(const std::string& summary, const std::string& body) {
    if (!m_bus.isConnected()) return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kNotifyService), QLatin1String(kNotifyPath),
                                       QLatin1String(kNotifyService), QStringLiteral("Notify"));
    call << QString::fromLatin1(kProductName) << 0u << QString::fromLatin1(kDesktopEntry)
         << QString::fromStdString(summary) << QString::fromStdString(body) << QStringList()
         << QVariantMap{{QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopEntry)}}
         << kServerTimeout;
    // Not waited for: without a notification service the error answer is
    // dropped, and the window never stops for the bus.
    m_bus.asyncCall(call);
}
