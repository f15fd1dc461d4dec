#pragma once

// WApp: the application framework object. It is the settings store, owns
// the platform the program runs on, names the maker, and is reachable from
// anywhere through WApp::Instance() while it exists.

#include <memory>
#include <string>
#include <string_view>

#include "framework/folder_memory.h"
#include "framework/wreg.h"
#include "platform/platform.h"

namespace vantic {

class WApp : public WReg {
  public:
    // Becomes the process-wide application object.
    explicit WApp(std::unique_ptr<Platform> platform);
    ~WApp() override;

    // The application object, or null when there is none.
    [[nodiscard]] static WApp* Instance();

    // The maker.
    [[nodiscard]] virtual std::string_view CompanyName() const;
    [[nodiscard]] virtual std::string_view CompanyKey() const;
    [[nodiscard]] virtual std::string_view WebAddress() const;
    // The product, supplied by the product's class.
    [[nodiscard]] virtual std::string_view ProductName() const = 0;
    [[nodiscard]] virtual std::string_view ProductKey() const { return ProductName(); }
    [[nodiscard]] virtual std::string_view VersionText() const = 0;
    [[nodiscard]] virtual std::string_view MajorVersion() const = 0;
    [[nodiscard]] virtual std::string_view TitleText() const = 0;
    [[nodiscard]] virtual std::string_view BuildCode() const = 0;

    // Builds the settings key path from the identity.
    void Init();
    // "Software\<company key>\<product key>\<major>.x"; empty before Init.
    [[nodiscard]] const std::string& SettingsKeyPath() const { return settingsKeyPath_; }

    [[nodiscard]] Platform& GetPlatform() const { return *platform_; }

  private:
    std::unique_ptr<Platform> platform_;
    // The file dialogs' folders, kept in this store.
    SettingsFolderMemory folders_{*this};
    std::string settingsKeyPath_;
};

}  // namespace vantic
