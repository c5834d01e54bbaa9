#include <gtest/gtest.h>

#include "svg/svg_writer.h"

#include <string>

using namespace pd;

namespace {

TEST(SvgWriter, DrawsLinesDashesMarksBoxesAndTextAtTheFramesPixels) {
    Frame frame;
    frame.width = 200;
    frame.height = 100;
    frame.camera = {1.0f, 0.0f, 4.0f};
    frame.projection.viewportWidth = 200;
    frame.projection.viewportHeight = 100;
    frame.projection.pixelsPerUnit = 10.0;
    FrameShell shell;
    shell.colour = {0.0f, 0.0f, 1.0f};
    shell.xy = {0.0f, 0.0f, 2.0f, 1.0f, -3.0f, -2.5f, 1.0f / 3.0f, 0.0f};
    shell.lines = {0, 1, 1, 2};
    shell.dashed = {2, 3};
    shell.marks = {0, 3};
    frame.shells.push_back(shell);
    frame.boxes.push_back({10.0, 10.0, 30.0, 20.0, {1.0f, 1.0f, 0.95f}});
    frame.texts.push_back(
        {"1 < 2 & \"q\" caf\xe9\x1b\xc3\xa9\xef\xbf\xbf", 95.0, 45.0, {0.0f, 0.0f, 0.0f}, 1, std::nullopt});
    frame.texts.push_back({"7", 5.0, 9.0, {0.0f, 0.0f, 0.0f}, 2, Rgb{1.0f, 1.0f, 1.0f}});
    EXPECT_EQ(formatSvg(frame),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"100\" viewBox=\"0 0 "
              "200 100\">\n"
              "<rect width=\"200\" height=\"100\" fill=\"#e6e6cc\"/>\n"
              "<g stroke=\"#0000ff\" stroke-width=\"1\" fill=\"none\">\n"
              "<path d=\"M90 50L110 40 M110 40L60 75\"/>\n"
              "<path stroke-dasharray=\"4 4\" d=\"M60 75L93.33 50\"/>\n"
              "<path stroke=\"none\" fill=\"#0000ff\" d=\"M88 48h4v4h-4z M91.33 48h4v4h-4z\"/>\n"
              "</g>\n"
              "<rect x=\"10\" y=\"10\" width=\"30\" height=\"20\" fill=\"#fffff2\"/>\n"
              "<text x=\"95\" y=\"45\" font-family=\"monospace\" font-size=\"10\" fill=\"#000000\">"
              "1 &lt; 2 &amp; &quot;q&quot; caf\xef\xbf\xbd\xef\xbf\xbd\xc3\xa9\xef\xbf\xbd</text>\n"
              "<text x=\"5\" y=\"9\" font-family=\"monospace\" font-size=\"20\" fill=\"#000000\" stroke=\"#ffffff\" "
              "stroke-width=\"4\" stroke-linejoin=\"round\" paint-order=\"stroke\">7</text>\n"
              "</svg>\n");
}

// Many faces are written in parts on two threads: each polygon once, in
// the frame's order, in one group, before the lines; the parts make the
// whole text.
TEST(SvgWriter, ManyFacesComeOnceEachInTheirOrderBeforeTheLines) {
    Frame frame;
    frame.width = 1000;
    frame.height = 1000;
    frame.projection.viewportWidth = 1000;
    frame.projection.viewportHeight = 1000;
    frame.projection.pixelsPerUnit = 1.0;
    frame.faceStyle = FaceStyle::Shaded;
    constexpr int count = 9000;
    for (int p = 0; p < count; ++p) {
        const float x = float(p % 100) * 4.0f - 200.0f, y = float(p / 100) * 4.0f - 200.0f;
        const int sides = 3 + p % 4;
        for (int k = 0; k < sides; ++k)
            frame.faces.xyz.insert(frame.faces.xyz.end(), {x + float(k % 2) / 3.0f, y + float(k / 2) / 3.0f, 0.0f});
        frame.faces.start.push_back(std::uint32_t(frame.faces.xyz.size() / 3));
        frame.faces.colour.push_back({float(p % 256) / 255.0f, float(p / 256) / 255.0f, 0.0f});
    }
    FrameShell shell;
    shell.xy = {0.0f, 0.0f, 100.0f, 0.0f};
    for (int i = 0; i < 4000; ++i) shell.lines.insert(shell.lines.end(), {0, 1});
    frame.shells.push_back(shell);
    const std::vector<std::string> parts = formatSvgParts(frame);
    std::string joined;
    for (const std::string& part : parts) joined += part;
    const std::string svg = formatSvg(frame);
    ASSERT_EQ(joined, svg);
    static const char hex[] = "0123456789abcdef";
    std::size_t at = svg.find("<g stroke=\"none\">\n");
    ASSERT_NE(at, std::string::npos);
    for (int p = 0; p < count; ++p) {
        const std::string path = std::string("<path fill=\"#") + hex[(p % 256) >> 4] + hex[p % 16] +
                                 hex[(p / 256) >> 4] + hex[(p / 256) % 16] + "00\" d=\"M";
        ASSERT_EQ(svg.compare(at = svg.find("\n", at) + 1, path.size(), path), 0) << p;
    }
    // Polygon 4321, four corners a third apart from (21 * 4 - 200, 43 * 4 - 200),
    // at pixel (500 + x, 500 - y).
    EXPECT_NE(svg.find("d=\"M384 528L384.33 528L384 527.67L384.33 527.67z\"/>\n"), std::string::npos);
    EXPECT_EQ(svg.compare(svg.find("\n", at) + 1, 6, "</g>\n<"), 0);
    EXPECT_EQ(svg.find("<g stroke=\"none\">", at), std::string::npos);
}

}  // namespace
