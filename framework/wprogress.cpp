#include "framework/wprogress.h"

#include "core/cpstring.h"

namespace vantic {

namespace {

namespace pl = progress_layout;

// More than this many milliseconds since a bar's last redraw allows the next.
constexpr std::uint32_t kRedrawIntervalMs = 174;

int LayoutId(ProgressLayout layout) {
    switch (layout) {
        case ProgressLayout::Simple:
            return pl::kSimple;
        case ProgressLayout::Download:
            return pl::kDownload;
        case ProgressLayout::Operation:
            break;
    }
    return pl::kOperation;
}

}  // namespace

float ProgressPercent(std::uint32_t position, std::uint32_t& maximum) {
    if (maximum == 0) {
        maximum = 1;
    }
    const long double share = static_cast<long double>(position) / maximum;
    return static_cast<float>(share * 100.0L);
}

WProgress::WProgress(Platform& platform) : platform_(platform) {}

WProgress::~WProgress() {
    Close();
}

void WProgress::OnCancel() {}

void WProgress::ShowItemText() {
    SetItemLabel(FormatNew("%6.2f%%", static_cast<double>(itemPercent_)));
}

bool WProgress::Open(WindowId owner, ProgressLayout layout, std::uint32_t overallMax) {
    Close();
    owner_ = owner;
    cancelled_ = false;
    overallPos_ = 0;
    overallMax_ = overallMax;
    overallTick_ = 0;
    if (owner_ != kNoWindow) {
        platform_.Windows().SetEnabled(owner_, false);
    }
    texts_.clear();
    dialog_ = platform_.Progress().Create(owner, LayoutId(layout),
                                          [this](int buttonId) { HandleButton(buttonId); });
    if (!dialog_) {
        // Run on without a dialog, but never leave the owner disabled.
        if (owner_ != kNoWindow) {
            platform_.Windows().SetEnabled(owner_, true);
        }
        overallBar_ = overallLabel_ = 0;
        return PumpMessages();
    }
    overallBar_ = FindItem(pl::kOverallBar);
    overallLabel_ = FindItem(pl::kOverallLabel);
    dialog_->Show();
    return PumpMessages();
}

bool WProgress::DueForRedraw(std::uint32_t position, std::uint32_t maximum,
                             std::uint32_t lastTick) const {
    return position == maximum || (dialog_ && dialog_->TakesEveryUpdate()) ||
           platform_.Time().TickMs() - lastTick > kRedrawIntervalMs;
}

bool WProgress::SetOverall(std::uint32_t position, std::uint32_t maximum) {
    if (!DueForRedraw(position, maximum, overallTick_)) {
        overallPos_ = position;
        overallMax_ = maximum;
        return cancelled_;
    }
    if (position != overallPos_ || maximum != overallMax_) {
        overallPos_ = position;
        overallMax_ = maximum;
        RedrawOverall();
        overallTick_ = platform_.Time().TickMs();
    }
    return PumpMessages();
}

bool WProgress::StepOverall() {
    return SetOverall(overallPos_ + 1, overallMax_);
}

bool WProgress::StartItem(std::uint32_t itemMax) {
    return StartItemOn(0, itemMax);
}

bool WProgress::StartTransferItem(std::uint32_t itemMax) {
    return StartItemOn(pl::kTransferLine, itemMax);
}

bool WProgress::StartItemOn(int labelId, std::uint32_t itemMax) {
    itemMax_ = itemMax;
    itemPos_ = 0;
    itemTick_ = 0;
    itemBar_ = FindItem(pl::kItemBar);
    itemLabel_ = FindItem(labelId);
    RedrawItem();
    itemStart_ = platform_.Time().Now();
    return PumpMessages();
}

bool WProgress::SetItem(std::uint32_t position, std::uint32_t maximum) {
    if (!DueForRedraw(position, maximum, itemTick_)) {
        itemPos_ = position;
        itemMax_ = maximum;
        return cancelled_;
    }
    if (position != itemPos_ || maximum != itemMax_) {
        itemPos_ = position;
        itemMax_ = maximum;
        RedrawItem();
        itemTick_ = platform_.Time().TickMs();
    }
    return PumpMessages();
}

bool WProgress::StepItem() {
    return SetItem(itemPos_ + 1, itemMax_);
}

bool WProgress::FinishItem() {
    if (itemPos_ != itemMax_) {
        itemPos_ = itemMax_;
    }
    RedrawItem();
    return PumpMessages();
}

void WProgress::Close() {
    cancelled_ = true;
    if (!dialog_) {
        return;
    }
    if (owner_ != kNoWindow) {
        platform_.Windows().SetEnabled(owner_, true);
    }
    dialog_.reset();
}

bool WProgress::PumpMessages() {
    platform_.Windows().PumpMessages();
    return cancelled_;
}

WindowId WProgress::Dialog() const {
    return dialog_ ? dialog_->Id() : kNoWindow;
}

void WProgress::SetLine(ProgressLine line, const std::string& text) {
    const int itemId = line == ProgressLine::Status ? pl::kStatusLine : pl::kTransferLine;
    if (!dialog_ || !dialog_->HasItem(itemId)) {
        return;
    }
    auto [shown, added] = texts_.try_emplace(itemId);
    if (!added && shown->second == text) {
        return;
    }
    shown->second = text;
    dialog_->SetText(itemId, text);
    PumpMessages();
}

void WProgress::SetItemLabel(const std::string& text) {
    if (dialog_ && itemLabel_ != 0) {
        dialog_->SetText(itemLabel_, text);
    }
}

int WProgress::FindItem(int itemId) const {
    return (dialog_ && itemId != 0 && dialog_->HasItem(itemId)) ? itemId : 0;
}

// OK and Cancel end the dialog; the operation sees the cancel at its next
// update.
void WProgress::HandleButton(int /*buttonId*/) {
    OnCancel();
    Close();
}

void WProgress::RedrawOverall() {
    const float percent = ProgressPercent(overallPos_, overallMax_);
    if (!dialog_) {
        return;
    }
    if (overallLabel_ != 0) {
        dialog_->SetText(overallLabel_, FormatNew("%6.2f%%", static_cast<double>(percent)));
    }
    if (overallBar_ != 0) {
        dialog_->SetBar(overallBar_, static_cast<int>(percent));
    }
}

void WProgress::RedrawItem() {
    itemPercent_ = ProgressPercent(itemPos_, itemMax_);
    if (!dialog_) {
        return;
    }
    if (itemLabel_ != 0) {
        ShowItemText();
    }
    if (itemBar_ != 0) {
        dialog_->SetBar(itemBar_, static_cast<int>(itemPercent_));
    }
}

}  // namespace vantic
