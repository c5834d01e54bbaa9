#include <gtest/gtest.h>

#include "svg/svg_writer.h"

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
    frame.texts.push_back({"1 < 2 & \"q\"", 95.0, 45.0, {0.0f, 0.0f, 0.0f}});
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
              "1 &lt; 2 &amp; &quot;q&quot;</text>\n"
              "</svg>\n");
}

}  // namespace
