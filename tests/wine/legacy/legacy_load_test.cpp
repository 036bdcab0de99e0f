// Loading and unloading the password verifier, the saver-running flag and the
// password change, with the platform's modules replaced by stand-ins.
#include <gtest/gtest.h>

#include "host/host_state_win.h"
#include "host/legacy_password_win.h"
#include "host/startup_win.h"
#include "legacy_fixture.h"

namespace {

bool PasswordModuleLoaded()
{
    return GetModuleHandleA("PASSWORD.CPL") != nullptr;
}

class VerifierLoading : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetDoubles();
        LegacyPlatform = 1;
        PasswordVerifier = nullptr;
        ForceSaverRunningFlag(0);
        UseDoubles("verify");
    }
    void TearDown() override
    {
        LegacyPlatform = 1;
        UnloadPasswordVerifier();
        LegacyPlatform = 0;
        ForceSaverRunningFlag(0);
        RestoreUsePassword();
        SetDllDirectoryA(nullptr);
    }
};

struct UsePasswordCase {
    const char* what;
    DWORD type;
    BYTE data[8];
    DWORD size; // with type REG_NONE and size 0: the value is absent
    bool inUse;
};

const UsePasswordCase kUsePasswordCases[] = {
    {"4-byte 1", REG_DWORD, {1, 0, 0, 0}, 4, true},
    {"4-byte 0", REG_DWORD, {0, 0, 0, 0}, 4, false},
    {"only the highest byte set", REG_DWORD, {0, 0, 0, 1}, 4, true},
    {"4 bytes stored as binary", REG_BINARY, {0, 2, 0, 0}, 4, true},
    {"8 bytes: the read fails", REG_BINARY, {1, 0, 0, 0, 0, 0, 0, 0}, 8, false},
    {"64-bit 1: the read fails", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 8, false},
    // Shorter values fill the start of the buffer; the rest counts as 0.
    {"2-byte 1", REG_BINARY, {1, 0}, 2, true},
    {"2-byte 0", REG_BINARY, {0, 0}, 2, false},
    {"1-byte 0", REG_BINARY, {0}, 1, false},
    {"3 bytes, the last set", REG_BINARY, {0, 0, 7}, 3, true},
    {"empty", REG_BINARY, {0}, 0, false},
    {"absent", REG_NONE, {0}, 0, false},
};

TEST_F(VerifierLoading, TheRegistrySwitchDecidesWhetherAPasswordIsInUse)
{
    for (const UsePasswordCase& c : kUsePasswordCases) {
        SCOPED_TRACE(c.what);
        ResetDoubles();
        if (c.type == REG_NONE)
            RemoveUsePassword();
        else
            SetUsePassword(c.type, c.data, c.size);

        LoadPasswordVerifier();
        EXPECT_EQ(PasswordVerifier != nullptr, c.inUse);
        EXPECT_EQ(PasswordModuleLoaded(), c.inUse);
        EXPECT_EQ(ReadSaverRunningFlag(), c.inUse ? 1 : 0);
        EXPECT_EQ(Doubles()->attaches, c.inUse ? 1 : 0);
        if (PasswordVerifier) {
            Doubles()->answer = 5;
            EXPECT_EQ(PasswordVerifier(nullptr), 5) << "not the stand-in's entry";
            EXPECT_EQ(Doubles()->calls, 1);
        }

        UnloadPasswordVerifier();
        EXPECT_EQ(PasswordVerifier, nullptr);
        EXPECT_FALSE(PasswordModuleLoaded());
        EXPECT_EQ(ReadSaverRunningFlag(), 0);
        EXPECT_EQ(Doubles()->detaches, Doubles()->attaches);
    }
}

TEST_F(VerifierLoading, AModuleWithoutTheEntryOrNoModuleMeansNoPassword)
{
    const struct {
        const char* directory;
        LONG loads;
    } cases[] = {{"noentry", 1}, {"none", 0}};
    SetUsePassword(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory);
        ResetDoubles();
        UseDoubles(c.directory);
        LoadPasswordVerifier();
        EXPECT_EQ(PasswordVerifier, nullptr);
        EXPECT_FALSE(PasswordModuleLoaded()) << "freed again at once";
        EXPECT_EQ(Doubles()->attaches, c.loads);
        EXPECT_EQ(Doubles()->detaches, c.loads);
        EXPECT_EQ(Doubles()->flagAtAttach, 0);
        EXPECT_EQ(ReadSaverRunningFlag(), 0);
    }
}

TEST_F(VerifierLoading, LoadingAgainFreesTheOldModuleAndSwitchesTheFlagOffFirst)
{
    SetUsePassword(1);
    LoadPasswordVerifier();
    ASSERT_NE(PasswordVerifier, nullptr);
    ASSERT_EQ(ReadSaverRunningFlag(), 1);

    LoadPasswordVerifier();
    EXPECT_EQ(Doubles()->attaches, 2);
    EXPECT_EQ(Doubles()->detaches, 1) << "the first module is not freed";
    EXPECT_EQ(Doubles()->flagAtAttach, 0) << "the flag was still on when the module came back";
    EXPECT_NE(PasswordVerifier, nullptr);
    EXPECT_EQ(ReadSaverRunningFlag(), 1);

    // One reference is held, so one unload frees it.
    UnloadPasswordVerifier();
    EXPECT_FALSE(PasswordModuleLoaded());
    EXPECT_EQ(Doubles()->detaches, 2);
}

TEST_F(VerifierLoading, UnloadingWithNothingLoadedLeavesTheFlagAlone)
{
    // The flag is the system's: a preview ending beside a protected saver
    // must not switch it off under that saver.
    ForceSaverRunningFlag(1);
    UnloadPasswordVerifier();
    EXPECT_EQ(ReadSaverRunningFlag(), 1);
}

TEST_F(VerifierLoading, SetSaverRunningFlagSwitchesTheSystemsFlagOnTheLegacyPlatform)
{
    SetSaverRunningFlag(1);
    EXPECT_EQ(ReadSaverRunningFlag(), 1);
    SetSaverRunningFlag(0);
    EXPECT_EQ(ReadSaverRunningFlag(), 0);
}

TEST_F(VerifierLoading, OffTheLegacyPlatformNothingActs)
{
    SetUsePassword(1);
    LegacyPlatform = 0;
    SetSaverRunningFlag(1);
    EXPECT_EQ(ReadSaverRunningFlag(), 0);
    ForceSaverRunningFlag(1);
    SetSaverRunningFlag(0);
    EXPECT_EQ(ReadSaverRunningFlag(), 1);
    ForceSaverRunningFlag(0);

    LoadPasswordVerifier();
    EXPECT_EQ(PasswordVerifier, nullptr);
    EXPECT_EQ(Doubles()->attaches, 0);
    EXPECT_EQ(ReadSaverRunningFlag(), 0);

    // A module loaded on the legacy platform stays when the flag says otherwise.
    LegacyPlatform = 1;
    LoadPasswordVerifier();
    ASSERT_NE(PasswordVerifier, nullptr);
    LegacyPlatform = 0;
    UnloadPasswordVerifier();
    EXPECT_NE(PasswordVerifier, nullptr);
    EXPECT_TRUE(PasswordModuleLoaded());
    EXPECT_EQ(ReadSaverRunningFlag(), 1);
}

class PasswordChange : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ResetDoubles();
        LegacyPlatform = 1;
    }
    void TearDown() override
    {
        LegacyPlatform = 0;
        SetDllDirectoryA(nullptr);
    }
};

TEST_F(PasswordChange, HandsTheChangeToMprWithTheSaverProviderAndFreesIt)
{
    UseDoubles("mpr");
    HWND parent = GetDesktopWindow();
    ChangeLegacyPassword(parent);
    EXPECT_EQ(Doubles()->changeCalls, 1) << "the stand-in was not reached (is mpr=n,b set?)";
    EXPECT_STREQ(Doubles()->changeProvider, "SCRSAVE");
    EXPECT_EQ(Doubles()->changeParent, reinterpret_cast<uintptr_t>(parent));
    EXPECT_EQ(Doubles()->changeReserved1, 0u);
    EXPECT_EQ(Doubles()->changeReserved2, 0u);
    std::string path = DoublesDirectory("mpr") + "\\mpr.dll";
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "MPR.DLL is still loaded";
}

TEST_F(PasswordChange, AnMprWithoutTheEntryIsLoadedAndFreedQuietly)
{
    UseDoubles("mpr-noentry");
    ChangeLegacyPassword(nullptr);
    EXPECT_EQ(Doubles()->attaches, 1) << "the stand-in was not reached (is mpr=n,b set?)";
    EXPECT_EQ(Doubles()->detaches, 1);
}

TEST_F(PasswordChange, OnTheNtFamilyTheSwitchIsRefusedAndNothingIsCalled)
{
    UseDoubles("mpr");
    ForceSaverRunningFlag(0);
    const std::string window = std::to_string(reinterpret_cast<uintptr_t>(GetDesktopWindow()));
    for (const std::string& tail : {"/a " + window, std::string("/a"), std::string("a 0")}) {
        SCOPED_TRACE(tail);
        EXPECT_EQ(SaverMain(GetModuleHandleA(nullptr), tail.c_str()), -1);
        EXPECT_EQ(LegacyPlatform, 0) << "this process runs on Wine's NT face";
        EXPECT_EQ(Doubles()->changeCalls, 0);
    }
    EXPECT_EQ(ReadSaverRunningFlag(), 0);
}

} // namespace
