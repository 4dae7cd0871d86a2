#include "PluginLoader.h"

#include <gtest/gtest.h>

using namespace vst;
using testsupport::PluginLoader;
using testsupport::ScriptedHost;

namespace {

class EntryAndIdentity : public ::testing::Test {
protected:
    PluginLoader loader;
    ScriptedHost host;
};

TEST_F(EntryAndIdentity, BothEntryPointsGiveAnInstanceWithTheDeclaredRecord)
{
    ASSERT_TRUE(loader.loaded()) << loader.error();
    ASSERT_NE(loader.vstPluginMain(), nullptr);
    ASSERT_NE(loader.mainEntry(), nullptr);
    for (auto entry : {PluginLoader::Entry::VstPluginMain, PluginLoader::Entry::Main}) {
        auto plugin = loader.create(&host, entry);
        ASSERT_NE(plugin, nullptr);
        const AEffect* e = plugin->effect();
        EXPECT_EQ(e->magic, kEffectMagic);
        EXPECT_EQ(e->numPrograms, 64);
        EXPECT_EQ(e->numParams, 64);
        EXPECT_EQ(e->numInputs, 0);
        EXPECT_EQ(e->numOutputs, 2);
        EXPECT_EQ(e->flags, 309);
        EXPECT_EQ(e->uniqueID, fourCC('z', 'a', 'G', 'r'));
        EXPECT_EQ(e->version, 1);
        EXPECT_EQ(e->ioRatio, 1.0f);
        EXPECT_EQ(e->initialDelay, 0);
        EXPECT_NE(e->dispatcher, nullptr);
        EXPECT_NE(e->process, nullptr);
        EXPECT_NE(e->processReplacing, nullptr);
        EXPECT_NE(e->setParameter, nullptr);
        EXPECT_NE(e->getParameter, nullptr);
        EXPECT_EQ(e->reservedProc, nullptr);
    }
}

TEST_F(EntryAndIdentity, HostAnsweringVersionZeroGetsNoInstance)
{
    host.versionAnswer = 0;
    EXPECT_EQ(loader.create(&host), nullptr);
    EXPECT_EQ(loader.create(&host, PluginLoader::Entry::Main), nullptr);
    EXPECT_EQ(host.count(audioMasterVersion), 2);
}

TEST_F(EntryAndIdentity, IdentityTexts)
{
    auto plugin = loader.create(&host);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->text(effGetEffectName), "Grelmond");
    EXPECT_EQ(plugin->text(effGetVendorString), "Zavr");
    EXPECT_EQ(plugin->text(effGetProductString), "Zavr Grelmond 1.0");
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 10);
    EXPECT_EQ(plugin->dispatch(effGetPlugCategory), kPlugCategSynth);
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2200);
    EXPECT_EQ(plugin->dispatch(effIdentify), fourCC('N', 'v', 'E', 'f'));
}

} // namespace
