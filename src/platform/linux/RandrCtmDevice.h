#pragma once

#include <xcb/randr.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ColorRemapDevice.h"
#include "platform/RunLoop.h"
#include "platform/linux/CtmMatrix.h"
#include "platform/linux/X11Connection.h"

namespace olvane::platform::os {

// The displays' colour transform through the RandR output property "CTM", which CTM-capable
// kernel drivers expose and which outlives the client that wrote it. The device offers one
// service covering every connected output that has the property: mode 2 writes the grayscale
// matrix on all of them, mode 0 the identity, and the mode reads 2 only when every one of them
// holds the grayscale matrix. Without such an output it offers no service.
class RandrCtmDevice final : public ColorRemapDevice {
  public:
    static constexpr const char* kService = "randr-ctm";

    // Whether an open service also readies the crash handlers' line (signalSafeSetMode): only
    // a process whose crash handlers reset the outputs needs it.
    enum class CrashLine { Ready, None };

    // `loop`: when given, the device reads its connections while loaded, so that what the
    // server sends every client does not pile up, and outputs that appear get the current mode.
    // `display`: the X display (the DISPLAY variable when empty).
    explicit RandrCtmDevice(RunLoop* loop = nullptr, std::string display = {},
                            CrashLine crashLine = CrashLine::Ready);
    ~RandrCtmDevice() override;
    RandrCtmDevice(const RandrCtmDevice&) = delete;
    RandrCtmDevice& operator=(const RandrCtmDevice&) = delete;

    // For later loads: the display to connect to.
    void setDisplay(std::string display) { display_ = std::move(display); }
    // The names of the connected outputs that have a "CTM" property; loads for the time of the
    // call when not loaded.
    std::vector<std::string> coveredOutputNames();

    RemapLoadResult load() override;
    void unload() override;
    std::optional<std::vector<FramebufferServiceEntry>> matchServices() override;
    RemapStatus open(const std::string& service, RemapConnection& connection) override;
    void close(RemapConnection connection) override;
    RemapStatus setMode(RemapConnection connection, std::uint32_t mode) override;
    RemapStatus getMode(RemapConnection connection, std::uint32_t& mode) override;
    // Our grayscale matrix is ours wherever it is: any other CTM is the user's own correction.
    RemapStatus resetOwnGrayscale(RemapConnection connection, long& reset) override;
    SignalSafeSetMode signalSafeSetMode() const override;
    // A CTM write shows at once: no transfer table to refresh.
    std::optional<TransferTable> readMainDisplayTransfer() override { return std::nullopt; }
    void writeMainDisplayTransfer(const TransferTable&) override {}

  private:
    struct Output {
        xcb_randr_output_t id = 0;
        std::string name;
    };
    struct Connection;
    struct WriteOutcome {
        RemapStatus status = remap::kSuccess;
        long written = 0;  // outputs that took the words
        std::vector<xcb_randr_output_t> covered;
    };

    static RemapStatus resetFromSignal(RemapConnection connection, std::uint32_t mode);
    bool openCrashLine(Connection& opened);
    std::vector<Output> coveredOutputs();
    std::optional<CtmWords> readCtm(xcb_randr_output_t output);
    // Those of `outputs` that hold `words`, asked all at once: one round trip.
    std::vector<xcb_randr_output_t> outputsHolding(const std::vector<xcb_randr_output_t>& outputs,
                                                   const CtmWords& words);
    xcb_randr_get_output_property_cookie_t askCtm(xcb_randr_output_t output);
    std::optional<CtmWords> ctmOf(xcb_randr_get_output_property_cookie_t cookie);
    // Writes `words` on every covered output, or, with `onlyOver`, on those holding it.
    WriteOutcome writeOutputs(Connection& open, const CtmWords& words,
                              const CtmWords* onlyOver = nullptr);
    // Sends the write, checked; writeCtm also waits for its outcome.
    xcb_void_cookie_t sendCtm(xcb_randr_output_t output, const CtmWords& words);
    bool writeCtm(xcb_randr_output_t output, const CtmWords& words);
    Connection* find(RemapConnection connection) const;
    void followOutputChanges();
    void applyModeToNewOutputs();

    RunLoop* loop_;
    std::string display_;
    CrashLine crashLine_;
    int loads_ = 0;
    std::unique_ptr<X11Connection> x_;
    xcb_atom_t ctmAtom_ = XCB_ATOM_NONE;
    std::optional<std::uint8_t> randrFirstEvent_;
    std::optional<std::uint32_t> currentMode_;
    // The outputs the current mode was written on.
    std::vector<xcb_randr_output_t> written_;
    std::vector<std::unique_ptr<Connection>> connections_;
    Handle events_;
};

}  // namespace olvane::platform::os
