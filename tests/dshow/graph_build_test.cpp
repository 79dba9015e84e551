// Building graphs for files: the default renderers and the names programs
// look for, result codes for bad input, and pin and filter queries.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "graph_tools.h"

using namespace dshow_test;

namespace {

class GraphBuild : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_graph = Create<IGraphBuilder>(CLSID_FilterGraph);
        ASSERT_NE(m_graph, nullptr);
    }
    void TearDown() override {
        if (m_graph) m_graph->Release();
        CoUninitialize();
    }
    bool Has(const wchar_t* name) {
        IBaseFilter* f = nullptr;
        if (FAILED(m_graph->FindFilterByName(name, &f))) return false;
        f->Release();
        return true;
    }
    HRESULT Render(const std::string& path) {
        return m_graph->RenderFile(Wide(path).c_str(), nullptr);
    }

    IGraphBuilder* m_graph = nullptr;
};

TEST_F(GraphBuild, AudioVideoFileGetsBothDefaultRenderers) {
    EXPECT_EQ(Render(ClipPath(Clip::Mp4AV)), S_OK);
    EXPECT_TRUE(Has(L"Video Renderer"));
    EXPECT_TRUE(Has(L"Default DirectSound Device"));
    EXPECT_FALSE(Has(L"MPEG-I Stream Splitter"));
}

TEST_F(GraphBuild, Mpeg1SystemStreamShowsItsSplitter) {
    EXPECT_EQ(Render(ClipPath(Clip::Mpeg1AV)), S_OK);
    EXPECT_TRUE(Has(L"MPEG-I Stream Splitter"));
    EXPECT_TRUE(Has(L"Video Renderer"));
    EXPECT_TRUE(Has(L"Default DirectSound Device"));
}

TEST_F(GraphBuild, SingleStreamFilesGetOnlyTheirRenderer) {
    EXPECT_EQ(Render(ClipPath(Clip::AviVideo)), S_OK);
    EXPECT_TRUE(Has(L"Video Renderer"));
    EXPECT_FALSE(Has(L"Default DirectSound Device"));

    IGraphBuilder* audioOnly = Create<IGraphBuilder>(CLSID_FilterGraph);
    ASSERT_NE(audioOnly, nullptr);
    for (Clip c : {Clip::WavAudio, Clip::OggAudio}) {
        EXPECT_EQ(audioOnly->RenderFile(Wide(ClipPath(c)).c_str(), nullptr), S_OK);
    }
    IBaseFilter* f = nullptr;
    EXPECT_EQ(audioOnly->FindFilterByName(L"Video Renderer", &f), VFW_E_NOT_FOUND);
    ASSERT_EQ(audioOnly->FindFilterByName(L"Default DirectSound Device", &f), S_OK);
    f->Release();
    // The second file's renderer joins under a name of its own.
    ASSERT_EQ(audioOnly->FindFilterByName(L"Default DirectSound Device 0001", &f), S_OK);
    f->Release();
    audioOnly->Release();
}

TEST_F(GraphBuild, BadInputFailsAndLeavesNothingBehind) {
    const std::string dir = TempPath("a directory");
    mkdir(dir.c_str(), 0700);
    const std::string empty = TempPath("empty.mp4");
    std::ofstream(empty).close();
    const std::string text = TempPath("notes.avi");
    std::ofstream(text) << "This is not a movie, just some words in a file.\n";
    const std::string truncated = TempPath("truncated.mp4");
    {
        std::ifstream in(ClipPath(Clip::Mp4AV), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(truncated, std::ios::binary).write(bytes.data(), bytes.size() / 3);
    }
    const int threadsBefore = ThreadCount();
    for (const std::string& path : {TempPath("missing.avi"), dir, empty, text, truncated}) {
        SCOPED_TRACE(path);
        HRESULT hr = Render(path);
        EXPECT_TRUE(FAILED(hr) || hr == VFW_S_PARTIAL_RENDER) << std::hex << hr;
        if (FAILED(hr)) {
            EXPECT_FALSE(Has(Wide(path).c_str()));
            EXPECT_FALSE(Has(L"Video Renderer"));
        }
    }
    EXPECT_EQ(Render(TempPath("missing.avi")), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(FAILED(Render(text)));
    // Every pipeline that was tried is gone again (pool threads may linger briefly).
    for (int i = 0; i < 50 && ThreadCount() > threadsBefore + 2; ++i) usleep(20000);
    EXPECT_LE(ThreadCount(), threadsBefore + 2);
    EXPECT_EQ(m_graph->RenderFile(nullptr, nullptr), E_POINTER);
}

TEST_F(GraphBuild, PathsWithSpacesAndNonAsciiCharacters) {
    const std::string path = TempPath("my clip \xC3\xA9t\xC3\xA9 \xE5\xBD\xB1.mp4");
    std::ifstream in(ClipPath(Clip::AviVideo), std::ios::binary);
    std::ofstream(path, std::ios::binary) << in.rdbuf();
    EXPECT_EQ(Render(path), S_OK);
    EXPECT_TRUE(Has(L"Video Renderer"));
    EXPECT_TRUE(Has(Wide(path).c_str()));  // the source joins under the file's name
}

TEST_F(GraphBuild, RendererPinsLeadBackToANamedDecoder) {
    ASSERT_EQ(Render(ClipPath(Clip::Mpeg1AV)), S_OK);
    IBaseFilter* renderer = nullptr;
    ASSERT_EQ(m_graph->FindFilterByName(L"Video Renderer", &renderer), S_OK);
    IPin* in = FirstPin(renderer, PINDIR_INPUT);
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(FirstPin(renderer, PINDIR_OUTPUT), nullptr);
    IPin* out = nullptr;
    ASSERT_EQ(in->ConnectedTo(&out), S_OK);
    PIN_DIRECTION dir;
    ASSERT_EQ(out->QueryDirection(&dir), S_OK);
    EXPECT_EQ(dir, PINDIR_OUTPUT);
    const std::wstring decoder = FilterNameOf(out);
    EXPECT_FALSE(decoder.empty());
    EXPECT_NE(decoder, L"Video Renderer");
    EXPECT_NE(decoder, L"MPEG-I Stream Splitter");

    AM_MEDIA_TYPE mt{};
    ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(mt.majortype, MEDIATYPE_Video);
    FreeMediaType(mt);

    FILTER_INFO info{};
    ASSERT_EQ(renderer->QueryFilterInfo(&info), S_OK);
    EXPECT_EQ(std::wstring(info.achName), L"Video Renderer");
    EXPECT_EQ(info.pGraph, static_cast<IFilterGraph*>(m_graph));
    if (info.pGraph) info.pGraph->Release();

    // Cut out, the renderer leaves; the decoder output is free again.
    EXPECT_EQ(out->Disconnect(), S_OK);
    EXPECT_EQ(in->Disconnect(), S_OK);
    IPin* none = nullptr;
    EXPECT_EQ(out->ConnectedTo(&none), VFW_E_NOT_CONNECTED);
    in->Release();
    EXPECT_EQ(m_graph->RemoveFilter(renderer), S_OK);
    EXPECT_FALSE(Has(L"Video Renderer"));
    EXPECT_EQ(m_graph->RemoveFilter(renderer), VFW_E_NOT_FOUND);
    renderer->Release();
    out->Release();
}

}  // namespace
