#include "nets/net_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>

#include "base/printable.h"
#include "nets/net_style.h"
#include "io/output_file.h"

namespace pd {

namespace {

constexpr double pointsPerMm = 72.0 / 25.4;
constexpr std::size_t pathSize = 1024;

void setColour(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.red, c.green, c.blue); }

void polygon(cairo_t* cr, const std::vector<P2>& points) {
    for (std::size_t i = 0; i < points.size(); ++i)
        (i ? cairo_line_to : cairo_move_to)(cr, points[i].x, points[i].y);
    cairo_close_path(cr);
}

void drawPage(cairo_t* cr, const NetLayout& layout, const NetPage& page, const std::vector<Rgb>& fills) {
    // One path for all the flaps and one per run of faces of one shell:
    // they never overlap, so this draws the same, with no seams between
    // neighbours and a fraction of the operations.
    // Paths of at most pathSize parts, though: cairo's work on one path
    // grows faster than the path.
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, flapLineWidth);
    for (std::size_t i = 0; i < page.flaps.size();) {
        for (const std::size_t end = std::min(i + pathSize, page.flaps.size()); i < end; ++i) polygon(cr, page.flaps[i]);
        setColour(cr, flapFill);
        cairo_fill_preserve(cr);
        setColour(cr, flapLine);
        cairo_stroke(cr);
    }
    for (std::size_t i = 0; i < page.faces.size();) {
        const int shell = page.faces[i].shell;
        for (std::size_t n = 0; i < page.faces.size() && page.faces[i].shell == shell && n < pathSize; ++i, ++n)
            polygon(cr, page.faces[i].points);
        setColour(cr, shell >= 0 && std::size_t(shell) < fills.size() ? fills[std::size_t(shell)] : Rgb{1, 1, 1});
        cairo_fill(cr);
    }
    setColour(cr, inkColour);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int fold = 0; fold < 2; ++fold) {
        cairo_set_line_width(cr, fold ? foldLineWidth : cutLineWidth);
        cairo_set_dash(cr, foldDash, fold ? 2 : 0, 0.0);
        std::size_t inPath = 0;
        for (const PageLine& line : page.lines) {
            if (line.fold != bool(fold)) continue;
            cairo_move_to(cr, line.a.x, line.a.y);
            cairo_line_to(cr, line.b.x, line.b.y);
            if (++inPath == pathSize) cairo_stroke(cr), inPath = 0;
        }
        cairo_stroke(cr);
    }
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_select_font_face(cr, netFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    double size = -1;
    for (const PageLabel& label : page.labels) {
        if (label.size != size) cairo_set_font_size(cr, size = label.size);  // a new size looks up its font
        cairo_text_extents_t extents;
        cairo_text_extents(cr, label.text.c_str(), &extents);
        cairo_move_to(cr, label.at.x - extents.x_advance / 2, label.at.y + digitMiddle * label.size);
        cairo_show_text(cr, label.text.c_str());
    }
    setColour(cr, footerColour);
    cairo_set_font_size(cr, footerSize);
    for (std::size_t i = 0; i < page.footer.size(); ++i) {
        cairo_move_to(cr, layout.footerAt.x, layout.footerAt.y + double(i) * footerLeading);
        // cairo takes only UTF-8; a file's name may be anything.
        cairo_show_text(cr, displayable(page.footer[i]).c_str());
    }
}

// Where cairo's bytes go: the descriptor, keeping the first failure's
// reason, which cairo's own status cannot carry.
struct PdfSink {
    int fd;
    Status status = Done{};
};

cairo_status_t writeToSink(void* closure, const unsigned char* data, unsigned int length) {
    auto* sink = static_cast<PdfSink*>(closure);
    if (sink->status.ok()) sink->status = writeAll(sink->fd, {reinterpret_cast<const char*>(data), length});
    return sink->status.ok() ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

Status writeNetPdf(const NetLayout& layout, const std::vector<Rgb>& fills, int fd,
                   const std::string& title) {
    PdfSink sink{fd};
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(writeToSink, &sink, layout.format.width * pointsPerMm,
                                            layout.format.height * pointsPerMm);
    // The title is the model's name, as the footer: UTF-8 for cairo.
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, displayable(title).c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "duals-explorer");
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, pointsPerMm, pointsPerMm);
    for (const NetPage& page : layout.pages) {
        drawPage(cr, layout, page, fills);
        cairo_show_page(cr);
    }
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    const cairo_status_t status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    if (!sink.status) return sink.status;
    if (status != CAIRO_STATUS_SUCCESS) return failure(cairo_status_to_string(status));
    return Done{};
}

}  // namespace pd
