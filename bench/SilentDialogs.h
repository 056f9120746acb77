#pragma once
// A port for benchmarks: messages and graphs taken and dropped, every
// question answered No, every input and table cancelled, the first item of
// every list. Benchmarks that need other answers override single requests.
#include <filesystem>
#include <optional>
#include <string>

#include "dialogs/Dialogs.h"

namespace vexamo::bench {

class SilentDialogs : public Dialogs {
public:
    void message(const MessageRequest&) override {}
    bool confirm(const ConfirmRequest&) override { return false; }
    bool abortRetry(const AbortRetryRequest&) override { return false; }
    std::optional<std::filesystem::path> openFile(const FileRequest&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> saveFile(const FileRequest&) override {
        return std::nullopt;
    }
    InputAnswer ask(const InputRequest&) override { return {true, false, 0, 0, ""}; }
    GridAnswer ask(const GridRequest&) override { return {true, {}, {}}; }
    AlternAnswer ask(const AlternRequest&) override { return {}; }
    MethodAnswer ask(const MethodRequest&) override { return {}; }
    CheckListAnswer ask(const CheckListRequest&) override { return {}; }
    GapCalcAnswer ask(const GapCalcRequest&) override { return {}; }
    bool showTechnological(TechnologicalDialogModel&) override { return false; }
    bool showDesign(DesignDialogModel&) override { return false; }
    void showProfileGraph(const ProfileGraphRequest&) override {}
    void setWaitLabel(const std::string&) override {}
};

}  // namespace vexamo::bench
