#pragma once

// The program's own classes behind the deployment's interfaces. Each
// adapter forwards to an object with the same operations, so the unit
// list, the progress dialog and the login need not know about deployment.

#include "net/server_login.h"
#include "platform/message_box.h"
#include "units/deploy_seams.h"

namespace vantic {

// A unit list such as VenueList (ItemCount, SelectedCount, IsSelected,
// UnitNumberAt, Lock, Unlock).
template <class List>
class DeployTargetsOf final : public DeployTargets {
  public:
    explicit DeployTargetsOf(List& list) : list_(list) {}
    [[nodiscard]] int ItemCount() const override { return list_.ItemCount(); }
    [[nodiscard]] int SelectedCount() const override { return list_.SelectedCount(); }
    [[nodiscard]] bool IsSelected(int row) const override { return list_.IsSelected(row); }
    [[nodiscard]] std::uint32_t UnitNumberAt(int row) override { return list_.UnitNumberAt(row); }
    void Lock() override { list_.Lock(); }
    void Unlock() override { list_.Unlock(); }

  private:
    List& list_;
};

// A progress dialog such as WProgress or UploadProgress.
template <class Progress>
class DeployProgressOf final : public DeployProgress {
  public:
    explicit DeployProgressOf(Progress& progress) : progress_(progress) {}
    bool Open(WindowId owner, int layoutId, int barId, int labelId,
              std::uint32_t overallMax) override {
        return progress_.Open(owner, layoutId, barId, labelId, overallMax);
    }
    bool StepOverall() override { return progress_.StepOverall(); }
    bool StartItem(int barId, int labelId, std::uint32_t itemMax) override {
        return progress_.StartItem(barId, labelId, itemMax);
    }
    bool SetItem(std::uint32_t position, std::uint32_t maximum) override {
        return progress_.SetItem(position, maximum);
    }
    bool StepItem() override { return progress_.StepItem(); }
    bool FinishItem() override { return progress_.FinishItem(); }
    void Close() override { progress_.Close(); }
    bool PumpMessages() override { return progress_.PumpMessages(); }
    void SetText(int itemId, const std::string& text) override { progress_.SetText(itemId, text); }
    [[nodiscard]] bool Cancelled() const override { return progress_.Cancelled(); }
    [[nodiscard]] WindowId Dialog() const override { return progress_.Dialog(); }

    [[nodiscard]] Progress& Target() { return progress_; }

  private:
    Progress& progress_;
};

// The program's login: its cached settings, and the login form when they
// are incomplete.
class ServerLoginAccess final : public DeployLogin {
  public:
    explicit ServerLoginAccess(ServerLogin& login) : login_(login) {}
    [[nodiscard]] bool EnsureLogin(WindowId owner) override { return login_.EnsureLogin(owner); }
    [[nodiscard]] ServerAccess Access() override { return login_.Settings().Access(); }

  private:
    ServerLogin& login_;
};

// Fixed credentials, complete or not; nothing to ask.
class FixedLogin final : public DeployLogin {
  public:
    explicit FixedLogin(ServerAccess access) : access_(std::move(access)) {}
    [[nodiscard]] bool EnsureLogin(WindowId /*owner*/) override {
        return !access_.host.empty() && !access_.loginName.empty() && !access_.password.empty();
    }
    [[nodiscard]] ServerAccess Access() override { return access_; }

  private:
    ServerAccess access_;
};

// UploadMedia with the login's current credentials; the only message it
// shows itself (a file too large) goes to messages.
[[nodiscard]] MediaUploader ServerMediaUploader(DeployLogin& login, MessageBoxes& messages);

}  // namespace vantic
