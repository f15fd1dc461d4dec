#pragma once

// The About box on Qt.

#include "app/about_box.h"

class QDialog;
class QWidget;

namespace vantic {

class QtAboutView final : public AboutView {
  public:
    void RunAboutBox(WindowId owner, const AboutForm& form, AboutLinks& links) override;
};

// The About box's items, for the view and its tests.
namespace about_item {
inline constexpr int kBuildCode = 1000;
inline constexpr int kEmail = 1062;
inline constexpr int kWebAddress = 1085;
inline constexpr int kPicture = 1095;
}  // namespace about_item

// The box for form, not yet shown; clicks on its links go to links.
[[nodiscard]] QDialog* NewAboutBox(QWidget* owner, const AboutForm& form, AboutLinks& links);

}  // namespace vantic
