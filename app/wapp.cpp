#include "app/wapp.h"

#include "core/product_identity.h"

namespace vantic {

namespace {

WApp* g_instance = nullptr;

}  // namespace

WApp::WApp(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {
    g_instance = this;
    if (platform_) {
        platform_->Files().RememberFoldersIn(&folders_);
    }
}

WApp::~WApp() {
    if (platform_) {
        platform_->Files().RememberFoldersIn(nullptr);
    }
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

WApp* WApp::Instance() {
    return g_instance;
}

std::string_view WApp::CompanyName() const {
    return identity::kMakerName;
}

std::string_view WApp::CompanyKey() const {
    return identity::kMakerKey;
}

std::string_view WApp::WebAddress() const {
    return identity::kWebAddress;
}

void WApp::Init() {
    settingsKeyPath_ = "Software\\";
    settingsKeyPath_.append(CompanyKey());
    settingsKeyPath_ += '\\';
    settingsKeyPath_.append(ProductKey());
    settingsKeyPath_ += '\\';
    settingsKeyPath_.append(MajorVersion());
    settingsKeyPath_ += ".x";
}

}  // namespace vantic
