#include "app/wapp.h"

namespace vantic {

namespace {

WApp* g_instance = nullptr;

}  // namespace

WApp::WApp(std::unique_ptr<Platform> platform) : platform_(std::move(platform)) {
    g_instance = this;
}

WApp::~WApp() {
    if (g_instance == this) {
        g_instance = nullptr;
    }
}

WApp* WApp::Instance() {
    return g_instance;
}

std::string_view WApp::CompanyName() const {
    return "Brindle LLC";
}

std::string_view WApp::CompanyKey() const {
    return "brindle";
}

std::string_view WApp::WebAddress() const {
    return "www.brindle.example";
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
