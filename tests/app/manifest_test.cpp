// The manifest of the built Kelvora.exe as Windows reads it: an activation context made from the
// program's resource 1, asked for its DPI settings and the Windows versions the program supports.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lib/core/owned.h"
#include "test_env.h"

namespace {

struct ActCtxTraits {
    using Type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ReleaseActCtx(h); }
};

class ProgramManifest : public testing::Test {
protected:
    void SetUp() override {
        ACTCTXA request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = exe_.c_str();
        request.lpResourceName = MAKEINTRESOURCEA(1);
        context_.Reset(CreateActCtxA(&request));
        ASSERT_TRUE(context_) << exe_ << " gives no activation context, error " << GetLastError();
    }

    // A value under windowsSettings in the namespace ns, or "<missing>".
    std::wstring Setting(const wchar_t* ns, const wchar_t* name) const {
        wchar_t value[128] = L"";
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context_.Get(), ns, name, value, 128, &written)) return L"<missing>";
        return value;
    }

    // The raw answer of QueryActCtxW for one information class of the context.
    std::vector<BYTE> Query(ULONG what) const {
        std::vector<BYTE> answer(8192);
        SIZE_T size = 0;
        if (!QueryActCtxW(0, context_.Get(), nullptr, what, answer.data(), answer.size(), &size)) return {};
        answer.resize(size);
        return answer;
    }

    const std::string exe_ = testing_support::EnvPath("KELVORA_EXE");
    Owned<ActCtxTraits> context_;
};

// Windows 10 1607 and later read dpiAwareness (the first value they know wins), earlier systems dpiAware.
TEST_F(ProgramManifest, DeclaresPerMonitorAwarenessWithFallbacks) {
    const struct {
        const wchar_t* ns;
        const wchar_t* name;
        const wchar_t* value;
    } settings[] = {
        {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
        {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"}};
    for (const auto& s : settings) EXPECT_EQ(Setting(s.ns, s.name), s.value) << s.name;
}

TEST_F(ProgramManifest, ListsVistaTo11AsSupportedSystems) {
    const std::vector<BYTE> answer = Query(CompatibilityInformationInActivationContext);
    ASSERT_GE(answer.size(), sizeof(DWORD));
    // The element layout grew with later SDKs, so each id is looked for in the answer's bytes.
    EXPECT_EQ(reinterpret_cast<const ACTIVATION_CONTEXT_COMPATIBILITY_INFORMATION*>(answer.data())->ElementCount, 5u);
    for (const wchar_t* text : {L"{e2011457-1546-43c5-a5fe-008deee3d3f0}", L"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                L"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", L"{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                                L"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
        GUID id;
        ASSERT_EQ(CLSIDFromString(text, &id), S_OK);
        const BYTE* bytes = reinterpret_cast<const BYTE*>(&id);
        EXPECT_NE(std::search(answer.begin(), answer.end(), bytes, bytes + sizeof id), answer.end()) << text;
    }
}

}  // namespace
