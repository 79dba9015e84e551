// The ASF writer filter the way the fallback engine drives it: configured
// with a runtime profile, placed in an empty graph, and the source rendered
// into it. The file it writes is read back with ffprobe.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "platform/wmf/wmsdk.h"
#include "graph_tools.h"

using namespace dshow_test;

namespace {

std::string Probe(const std::string& path, const char* entries) {
    const std::string cmd = std::string("ffprobe -v error -show_entries ") + entries +
                            " -of default=noprint_wrappers=1:nokey=1 '" + path + "'";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[256];
        while (fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    return out;
}

IWMProfile* SystemProfile() {
    IWMProfileManager* manager = nullptr;
    if (FAILED(WMCreateProfileManager(&manager))) return nullptr;
    IWMProfileManager2* manager2 = Query<IWMProfileManager2>(manager);
    if (manager2) {
        manager2->SetSystemProfileVersion(WMT_VER_7_0);
        manager2->Release();
    }
    IWMProfile* profile = nullptr;
    manager->LoadSystemProfile(0, &profile);
    manager->Release();
    return profile;
}

TEST(AsfWriterFilter, RendersASourceRangeIntoAFileThatFfprobeReads) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::string out = TempPath("written.wmv");
    IGraphBuilder* graph = Create<IGraphBuilder>(CLSID_FilterGraph);
    IBaseFilter* writer = Create<IBaseFilter>(CLSID_WMAsfWriter);
    ASSERT_NE(graph, nullptr);
    ASSERT_NE(writer, nullptr);
    IFileSinkFilter* sink = Query<IFileSinkFilter>(writer);
    IConfigAsfWriter* config = Query<IConfigAsfWriter>(writer);
    ASSERT_NE(sink, nullptr);
    ASSERT_NE(config, nullptr);
    ASSERT_EQ(graph->AddFilter(writer, L"Mux"), S_OK);
    IWMProfile* profile = SystemProfile();
    ASSERT_NE(profile, nullptr);
    ASSERT_EQ(config->ConfigureFilterUsingProfile(profile), S_OK);
    ASSERT_EQ(sink->SetFileName(Wide(out).c_str(), nullptr), S_OK);
    IMediaFilter* mf = Query<IMediaFilter>(graph);
    mf->SetSyncSource(nullptr);

    ASSERT_EQ(graph->RenderFile(Wide(ClipPath(Clip::Mp4AV)).c_str(), nullptr), S_OK);
    // Both streams went into the writer, none to a default renderer.
    IBaseFilter* renderer = nullptr;
    EXPECT_EQ(graph->FindFilterByName(L"Video Renderer", &renderer), VFW_E_NOT_FOUND);
    EXPECT_EQ(graph->FindFilterByName(L"Default DirectSound Device", &renderer), VFW_E_NOT_FOUND);

    IMediaControl* control = Query<IMediaControl>(graph);
    IMediaPosition* position = Query<IMediaPosition>(graph);
    IMediaEvent* events = Query<IMediaEvent>(graph);
    position->put_CurrentPosition(1.0);
    position->put_StopTime(2.5);
    control->Run();
    EXPECT_EQ(WaitForEnd(events, 30000), EC_COMPLETE);
    EXPECT_EQ(control->Stop(), S_OK);
    for (IUnknown* u : {static_cast<IUnknown*>(events), static_cast<IUnknown*>(position),
                        static_cast<IUnknown*>(control), static_cast<IUnknown*>(mf),
                        static_cast<IUnknown*>(profile), static_cast<IUnknown*>(config),
                        static_cast<IUnknown*>(sink), static_cast<IUnknown*>(writer),
                        static_cast<IUnknown*>(graph)})
        u->Release();

    const std::string types = Probe(out, "stream=codec_type");
    EXPECT_NE(types.find("video"), std::string::npos) << types;
    EXPECT_NE(types.find("audio"), std::string::npos) << types;
    const double seconds = std::atof(Probe(out, "format=duration").c_str());
    EXPECT_NEAR(seconds, 1.5, 0.3);
    CoUninitialize();
}

}  // namespace
