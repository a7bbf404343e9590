#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ormaline {

namespace {

class DesktopUrlOpener : public UrlOpener {
public:
    void Open(const std::string& address) override {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
    }
};

std::unique_ptr<UrlOpener>& Installed() {
    static std::unique_ptr<UrlOpener> opener;
    return opener;
}

} // namespace

UrlOpener& Urls() {
    auto& opener = Installed();
    if (!opener)
        opener = std::make_unique<DesktopUrlOpener>();
    return *opener;
}

std::unique_ptr<UrlOpener> InstallUrlOpener(std::unique_ptr<UrlOpener> opener) {
    auto previous = std::move(Installed());
    Installed() = std::move(opener);
    return previous;
}

} // namespace ormaline
