// The host's add_param: a copy of each definition, strings included, appended as a stream of its own.
#include "support/ModuleHost.h"

#include "host/ParamRegistry.h"

#include <cstring>

using namespace OrvaneHost;

namespace {

PF_ParamDef popup(const char* name, const char* choices, A_short count) {
    PF_ParamDef def;
    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_POPUP;
    std::strncpy(def.name, name, sizeof def.name - 1);
    def.u.pd.num_choices = count;
    def.u.pd.value = 1;
    def.u.pd.dephault = 1;
    def.u.pd.u.namesptr = choices;
    return def;
}

class ParamRegistry : public ::testing::Test {
protected:
    std::unique_ptr<Host> host = OrvaneTest::loadModuleHost();
};

TEST_F(ParamRegistry, TheFirstAdditionFindsTheInputLayerInPlace) {
    const PF_ParamDef def = popup("A", "x|y", 2);
    ASSERT_EQ(registerParam(*host, host->effectRef(), -1, &def), PF_Err_NONE);
    ASSERT_EQ(host->streams().size(), 2u);
    EXPECT_EQ(host->streams()[0].def.param_type, PF_Param_LAYER);
    EXPECT_STREQ(host->streams()[1].def.name, "A");
}

TEST_F(ParamRegistry, StringsAreCopiedSoTheEffectsBuffersMayChange) {
    char choices[] = "One|Two";
    char label[] = "Press";
    PF_ParamDef def = popup("Pick", choices, 2);
    ASSERT_EQ(registerParam(*host, host->effectRef(), -1, &def), PF_Err_NONE);
    std::memset(&def, 0, sizeof def);
    def.param_type = PF_Param_BUTTON;
    def.u.button_d.u.namesptr = label;
    ASSERT_EQ(registerParam(*host, host->effectRef(), -1, &def), PF_Err_NONE);
    std::strcpy(choices, "XXX|YYY");
    std::strcpy(label, "Gone!");
    EXPECT_STREQ(host->streams()[1].def.u.pd.u.namesptr, "One|Two");
    EXPECT_STREQ(host->streams()[1].current.u.pd.u.namesptr, "One|Two");
    EXPECT_STREQ(host->streams()[2].def.u.button_d.u.namesptr, "Press");
}

TEST_F(ParamRegistry, CopiedStringsStayValidWhileTheStreamsGrow) {
    for (int i = 0; i < 40; ++i) {
        const std::string choices = "c" + std::to_string(i) + "|d";
        const PF_ParamDef def = popup("P", choices.c_str(), 2);
        ASSERT_EQ(registerParam(*host, host->effectRef(), -1, &def), PF_Err_NONE);
    }
    for (int i = 0; i < 40; ++i) {
        const ParamStream& stream = host->streams()[static_cast<std::size_t>(i) + 1];
        EXPECT_EQ(stream.def.u.pd.u.namesptr, stream.choices.c_str());
        EXPECT_EQ(std::string(stream.current.u.pd.u.namesptr), "c" + std::to_string(i) + "|d");
    }
}

TEST_F(ParamRegistry, ANameWithoutItsTerminatorIsCutAtTheField) {
    PF_ParamDef def = popup("", "a|b", 2);
    std::memset(def.name, 'n', sizeof def.name);
    ASSERT_EQ(registerParam(*host, host->effectRef(), -1, &def), PF_Err_NONE);
    EXPECT_EQ(std::string(host->streams()[1].def.name), std::string(31, 'n'));
}

TEST_F(ParamRegistry, AnIndexOutOfTurnIsRefused) {
    const PF_ParamDef def = popup("A", "x|y", 2);
    EXPECT_EQ(registerParam(*host, host->effectRef(), 5, &def), kParamIndexOutOfOrder);
    EXPECT_EQ(registerParam(*host, host->effectRef(), 1, &def), PF_Err_NONE) << "the next index is accepted";
    EXPECT_EQ(host->streams().size(), 2u);
    EXPECT_EQ(host->books().errors().size(), 1u);
}

TEST_F(ParamRegistry, AnotherInstanceOrNoDefinitionIsRefused) {
    const PF_ParamDef def = popup("A", "x|y", 2);
    EXPECT_EQ(registerParam(*host, nullptr, -1, &def), PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(registerParam(*host, host->effectRef(), -1, nullptr), kBadParamDefinition);
    EXPECT_TRUE(host->streams().size() <= 1u);
    EXPECT_EQ(host->books().errors().size(), 2u);
}

TEST_F(ParamRegistry, APopupWhoseCountDisagreesWithItsChoicesIsAHostError) {
    const PF_ParamDef def = popup("A", "x|y|z", 2);
    EXPECT_EQ(registerParam(*host, host->effectRef(), -1, &def), PF_Err_NONE);
    ASSERT_EQ(host->books().errors().size(), 1u);
    EXPECT_NE(host->books().errors()[0].find("declares 2 choices but names 3"), std::string::npos);
}

TEST_F(ParamRegistry, AnInjectedFailureStoresNothing) {
    host->calls().addRule({"add_param", "", 0, false, {FaultMode::Error, 9}});
    const PF_ParamDef def = popup("A", "x|y", 2);
    EXPECT_EQ(registerParam(*host, host->effectRef(), -1, &def), 9);
    EXPECT_TRUE(host->streams().size() <= 1u);
}

} // namespace
