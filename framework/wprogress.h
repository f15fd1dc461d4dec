#pragma once

// WProgress: the modeless progress dialog of long operations that run on
// the user-interface thread. It has an overall bar and a per-item bar.
// Every update keeps the user interface alive by pumping messages and
// reports whether the user cancelled; callers stop when it says so.
// Redraws of each bar are limited to one per 175 ms, except that reaching
// the maximum always redraws and a dialog that prints its lines (the
// console) is told every change.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/operation_progress.h"
#include "platform/platform.h"

namespace vantic {

class WProgress : public OperationProgress {
  public:
    explicit WProgress(Platform& platform);
    // Closes the dialog.
    ~WProgress() override;
    WProgress(const WProgress&) = delete;
    WProgress& operator=(const WProgress&) = delete;

    // Called when the user presses OK or Cancel; the base does nothing.
    virtual void OnCancel();
    // Writes the item label; the base writes the item percentage.
    virtual void ShowItemText();

    // OperationProgress. Open shows the dialog over owner, which is
    // disabled until Close; later updates after a Close report cancelled
    // until the next Open.
    bool Open(WindowId owner, ProgressLayout layout, std::uint32_t overallMax) override;
    bool SetOverall(std::uint32_t position, std::uint32_t maximum) override;
    bool StepOverall() override;
    bool StartItem(std::uint32_t itemMax) override;
    bool StartTransferItem(std::uint32_t itemMax) override;
    bool SetItem(std::uint32_t position, std::uint32_t maximum) override;
    bool StepItem() override;
    bool FinishItem() override;
    // A changed line pumps at once, whatever the redraw limit: it names the
    // piece about to run, which may block for long, and a Cancel pressed
    // during the piece before is taken here.
    void SetLine(ProgressLine line, const std::string& text) override;
    void Close() override;
    bool PumpMessages() override;
    [[nodiscard]] bool Cancelled() const override { return cancelled_; }
    [[nodiscard]] WindowId Dialog() const override;

    [[nodiscard]] bool IsOpen() const { return dialog_ != nullptr; }

    [[nodiscard]] std::uint32_t OverallPosition() const { return overallPos_; }
    [[nodiscard]] std::uint32_t OverallMaximum() const { return overallMax_; }
    [[nodiscard]] std::uint32_t ItemPosition() const { return itemPos_; }
    [[nodiscard]] std::uint32_t ItemMaximum() const { return itemMax_; }
    [[nodiscard]] std::int64_t ItemStartTime() const { return itemStart_; }

  protected:
    // The item percentage of the last redraw.
    [[nodiscard]] float ItemPercent() const { return itemPercent_; }
    void SetItemLabel(const std::string& text);
    [[nodiscard]] Clock& Time() { return platform_.Time(); }

  private:
    // Starts the item bar, with labelId its label (0: none).
    bool StartItemOn(int labelId, std::uint32_t itemMax);
    // Finds an item of the dialog; 0 for none.
    int FindItem(int itemId) const;
    void HandleButton(int buttonId);
    void RedrawOverall();
    void RedrawItem();
    [[nodiscard]] bool DueForRedraw(std::uint32_t position, std::uint32_t maximum,
                                    std::uint32_t lastTick) const;

    Platform& platform_;
    std::unique_ptr<ProgressWindow> dialog_;
    std::map<int, std::string> texts_;  // the lines shown, by item
    WindowId owner_ = kNoWindow;
    bool cancelled_ = false;
    int overallBar_ = 0;
    int overallLabel_ = 0;
    std::uint32_t overallPos_ = 100;
    std::uint32_t overallMax_ = 100;
    std::uint32_t overallTick_ = 0;
    int itemBar_ = 0;
    int itemLabel_ = 0;
    std::uint32_t itemPos_ = 100;
    std::uint32_t itemMax_ = 100;
    std::uint32_t itemTick_ = 0;
    std::int64_t itemStart_ = 0;
    float itemPercent_ = 0;
};

// The percentage a bar shows for position of maximum; a maximum of 0 is
// first raised to 1.
[[nodiscard]] float ProgressPercent(std::uint32_t position, std::uint32_t& maximum);

}  // namespace vantic
