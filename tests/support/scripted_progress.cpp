#include "tests/support/scripted_progress.h"

#include <algorithm>

namespace vantic::testing {

namespace pl = progress_layout;

bool ProgressLayoutHas(int layoutId, int itemId) {
    switch (layoutId) {
        case pl::kOperation:
            return itemId == pl::kOverallBar || itemId == pl::kOverallLabel ||
                   itemId == pl::kItemBar || itemId == pl::kStatusLine ||
                   itemId == pl::kTransferLine || itemId == pl::kOkButton ||
                   itemId == pl::kCancelButton;
        case pl::kSimple:
        case pl::kDownload:
            return itemId == pl::kOverallBar || itemId == pl::kOverallLabel ||
                   itemId == pl::kOkButton || itemId == pl::kCancelButton;
        default:
            return false;
    }
}

int ProgressRecord::SetCount(int itemId) const {
    const auto text = texts.find(itemId);
    if (text != texts.end()) {
        return static_cast<int>(text->second.size());
    }
    const auto bar = bars.find(itemId);
    return bar == bars.end() ? 0 : static_cast<int>(bar->second.size());
}

std::string ProgressRecord::LastText(int itemId) const {
    const auto text = texts.find(itemId);
    return text == texts.end() || text->second.empty() ? std::string() : text->second.back();
}

int ProgressRecord::LastBar(int barId) const {
    const auto bar = bars.find(barId);
    return bar == bars.end() || bar->second.empty() ? -1 : bar->second.back();
}

namespace {

class ScriptedProgressWindow final : public ProgressWindow {
  public:
    explicit ScriptedProgressWindow(ProgressRecord& record) : record_(record) {}
    ~ScriptedProgressWindow() override { record_.destroyed = true; }

    [[nodiscard]] WindowId Id() const override { return record_.Id(); }
    [[nodiscard]] bool HasItem(int itemId) const override {
        return ProgressLayoutHas(record_.layout, itemId);
    }
    void Show() override { record_.shown = true; }
    void SetBar(int barId, int percent) override { record_.bars[barId].push_back(percent); }
    void SetText(int itemId, const std::string& text) override {
        record_.texts[itemId].push_back(text);
    }

  private:
    ProgressRecord& record_;
};

}  // namespace

std::unique_ptr<ProgressWindow> ScriptedProgressWindows::Create(WindowId owner, int layoutId,
                                                                ProgressButtonHandler onButton) {
    if (refuse_ || !ProgressLayoutHas(layoutId, progress_layout::kCancelButton)) {
        return nullptr;
    }
    auto record = std::make_unique<ProgressRecord>();
    record->owner = owner;
    record->layout = layoutId;
    record->onButton = std::move(onButton);
    records_.push_back(std::move(record));
    return std::make_unique<ScriptedProgressWindow>(*records_.back());
}

ProgressRecord* ScriptedProgressWindows::Last() const {
    return records_.empty() ? nullptr : records_.back().get();
}

bool ScriptedProgressWindows::AnyOpen() const {
    return std::any_of(records_.begin(), records_.end(),
                       [](const auto& record) { return !record->destroyed; });
}

bool ScriptedProgressWindows::Press(int buttonId) {
    for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
        if (!(*it)->destroyed) {
            // A copy: the handler may destroy the dialog it belongs to.
            const ProgressButtonHandler handler = (*it)->onButton;
            if (handler) {
                handler(buttonId);
            }
            return true;
        }
    }
    return false;
}

void ScriptedProgressWindows::CancelAtPump(int n) {
    cancelAt_ = n;
    openPumps_ = 0;
}

void ScriptedProgressWindows::NotePump() {
    if (cancelAt_ <= 0 || !AnyOpen()) {
        return;
    }
    if (++openPumps_ == cancelAt_) {
        cancelAt_ = 0;
        Press(progress_layout::kCancelButton);
    }
}

}  // namespace vantic::testing
