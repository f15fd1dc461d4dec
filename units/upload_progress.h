#pragma once

// UploadProgress: the progress dialog of operations that upload media. Its
// item label tells the bytes sent, the rate and the time left.

#include <cstdint>
#include <string>

#include "framework/wprogress.h"
#include "units/deploy_interfaces.h"

namespace vantic {

// The transfer text for `sent` of `total` bytes, `elapsedSeconds` after the
// upload started:
//   "400000 of 1000000 - 320 kbit/sec - 15 seconds left"
//   "1000 of 1000000 - 8 kbit/sec - 17 minutes left"
//   "1000000 of 1000000 - 800 kbit/sec" (done, or nothing sent yet)
// Less than a whole second counts as half a second.
[[nodiscard]] std::string TransferText(std::uint32_t sent, std::uint32_t total,
                                       std::int64_t elapsedSeconds);

// The "Operation Progress..." dialog: the framework's WProgress, which
// deployments, reports and media uploads drive through their interfaces.
class OperationProgress : public WProgress, public DeployProgress {
  public:
    using WProgress::WProgress;

    bool Open(WindowId owner, int layoutId, int barId, int labelId,
              std::uint32_t overallMax) override {
        return WProgress::Open(owner, layoutId, barId, labelId, overallMax);
    }
    bool StepOverall() override { return WProgress::StepOverall(); }
    bool StepItem() override { return WProgress::StepItem(); }
    void Close() override { WProgress::Close(); }
    bool PumpMessages() override { return WProgress::PumpMessages(); }
    bool StartItem(int barId, int labelId, std::uint32_t itemMax) override {
        return WProgress::StartItem(barId, labelId, itemMax);
    }
    bool SetItem(std::uint32_t position, std::uint32_t maximum) override {
        return WProgress::SetItem(position, maximum);
    }
    bool FinishItem() override { return WProgress::FinishItem(); }
    void SetText(int itemId, const std::string& text) override { WProgress::SetText(itemId, text); }
    [[nodiscard]] bool Cancelled() const override { return WProgress::Cancelled(); }
    [[nodiscard]] WindowId Dialog() const override { return WProgress::Dialog(); }
};

// The dialog of operations that upload media: its item line tells the
// transfer.
class UploadProgress final : public OperationProgress {
  public:
    using OperationProgress::OperationProgress;

    // The transfer text of the item position (bytes sent) and maximum
    // (file size) since the item started.
    void ShowItemText() override;
};

}  // namespace vantic
