#include "common/recorded_pages.h"

#include <algorithm>
#include <cmath>

namespace scorvane {
namespace {

// A picture is indexed in bands of one A4 page's height.
constexpr double kBandHeight = kA4Height;

long bandOf(double y) {
    return y <= 0 ? 0 : static_cast<long>(std::floor(y / kBandHeight));
}

}  // namespace

RecordedPages::RecordedPages(Kind kind, DrawingSurface& metrics) : kind_(kind), metrics_(metrics) {}

PageOrientation RecordedPages::pageOrientation(int page) const {
    if (page < 0 || static_cast<size_t>(page) >= pageOrientations_.size()) {
        return PageOrientation::Portrait;
    }
    return pageOrientations_[static_cast<size_t>(page)];
}

double RecordedPages::width() const {
    if (kind_ == Kind::Picture) {
        return pictureWidth_;
    }
    return orientation_ == PageOrientation::Portrait ? kA4Width : kA4Height;
}

double RecordedPages::height() const {
    if (kind_ == Kind::Picture) {
        return pictureHeight_;
    }
    return orientation_ == PageOrientation::Portrait ? kA4Height : kA4Width;
}

void RecordedPages::setSize(double width, double height) {
    if (kind_ == Kind::Picture) {
        pictureWidth_ = width;
        pictureHeight_ = height;
    }
}

void RecordedPages::setOrientation(PageOrientation orientation) {
    if (kind_ != Kind::Printer) {
        return;
    }
    orientation_ = orientation;
    // Like a printer: a sheet already drawn on keeps its orientation; the next one takes the new one.
    if (ops_.size() == pageStarts_.back()) {
        pageOrientations_.back() = orientation;
    }
}

void RecordedPages::setFont(const SurfaceFont& font) {
    if (font == fonts_[static_cast<size_t>(font_)]) {
        return;
    }
    for (size_t i = 0; i < fonts_.size(); ++i) {
        if (fonts_[i] == font) {
            font_ = static_cast<int32_t>(i);
            return;
        }
    }
    fonts_.push_back(font);
    lineHeights_.push_back(-1);
    font_ = static_cast<int32_t>(fonts_.size() - 1);
}

double RecordedPages::textWidth(std::string_view text) {
    metrics_.setFont(font());
    return metrics_.textWidth(text);
}

double RecordedPages::textHeight(std::string_view text) {
    metrics_.setFont(font());
    return metrics_.textHeight(text);
}

double RecordedPages::lineHeight() {
    double& h = lineHeights_[static_cast<size_t>(font_)];
    if (h < 0) {
        h = textHeight("");
    }
    return h;
}

void RecordedPages::add(Type type, double x1, double y1, double x2, double y2, SurfaceColor color,
                        std::string_view text, TextAlign align) {
    Op op;
    op.type = type;
    op.align = align;
    op.lineWidth = static_cast<int16_t>(std::min(lineWidth_, 32767));
    op.font = font_;
    op.color = color;
    op.textOffset = static_cast<uint32_t>(texts_.size());
    op.textLength = static_cast<uint32_t>(text.size());
    texts_.append(text);
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    if (kind_ == Kind::Picture) {
        // The op's extent from top to bottom decides the bands it is listed in.
        double top = std::min(y1, y2);
        double bottom = std::max(y1, y2);
        if (type == Type::Circle) {
            top = y1 - x2;
            bottom = y1 + x2;
        } else if (type == Type::Picture) {
            bottom = y1 + y2;
        }
        const long last = bandOf(bottom);
        if (static_cast<size_t>(last) >= bands_.size()) {
            bands_.resize(static_cast<size_t>(last) + 1);
        }
        for (long b = bandOf(top); b <= last; ++b) {
            bands_[static_cast<size_t>(b)].push_back(static_cast<uint32_t>(ops_.size()));
        }
    }
    ops_.push_back(op);
}

void RecordedPages::drawTextAt(double x, double y, std::string_view line) {
    if (!line.empty()) {
        // A text keeps its bottom in y2, for finding it by height.
        add(Type::Text, x, y, x, y + lineHeight(), textColor_, line);
    }
}

void RecordedPages::drawTextInRect(double left, double top, double right, double bottom,
                                   std::string_view text, TextAlign align) {
    if (!text.empty()) {
        add(Type::TextInRect, left, top, right, bottom, textColor_, text, align);
    }
}

void RecordedPages::drawLine(double x1, double y1, double x2, double y2, SurfaceColor color) {
    add(Type::Line, x1, y1, x2, y2, color);
}

void RecordedPages::drawBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    add(Type::Box, x1, y1, x2, y2, color);
}

void RecordedPages::fillBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    add(Type::FillBox, x1, y1, x2, y2, color);
}

void RecordedPages::drawCircle(double centerX, double centerY, double radius, SurfaceColor color) {
    add(Type::Circle, centerX, centerY, radius, 0, color);
}

void RecordedPages::drawPicture(std::string_view imageBytes, double left, double top, double width,
                                double height) {
    add(Type::Picture, left, top, width, height, 0, imageBytes);
}

void RecordedPages::reserve(size_t ops, size_t textBytes) {
    ops_.reserve(ops);
    texts_.reserve(textBytes);
}

void RecordedPages::clear() {
    if (kind_ != Kind::Picture) {
        return;
    }
    ops_.clear();
    texts_.clear();
    bands_.clear();
}

bool RecordedPages::newPage() {
    if (kind_ == Kind::Printer) {
        pageStarts_.push_back(ops_.size());
        pageOrientations_.push_back(orientation_);
    }
    return true;
}

void RecordedPages::replayOp(const Op& op, DrawingSurface& target, double dx, double dy,
                             ReplayState& state) const {
    if (op.lineWidth != state.lineWidth &&
        (op.type == Type::Line || op.type == Type::Box || op.type == Type::Circle)) {
        target.setLineWidth(op.lineWidth);
        state.lineWidth = op.lineWidth;
    }
    const bool text = op.type == Type::Text || op.type == Type::TextInRect;
    if (text && op.font != state.font) {
        target.setFont(fonts_[static_cast<size_t>(op.font)]);
        state.font = op.font;
    }
    if (text && op.color != state.textColor) {
        target.setTextColor(op.color);
        state.textColor = op.color;
    }
    switch (op.type) {
        case Type::Text:
            target.drawTextAt(op.x1 - dx, op.y1 - dy, textOf(op));
            break;
        case Type::TextInRect:
            target.drawTextInRect(op.x1 - dx, op.y1 - dy, op.x2 - dx, op.y2 - dy, textOf(op), op.align);
            break;
        case Type::Line:
            target.drawLine(op.x1 - dx, op.y1 - dy, op.x2 - dx, op.y2 - dy, op.color);
            break;
        case Type::Box:
            target.drawBox(op.x1 - dx, op.y1 - dy, op.x2 - dx, op.y2 - dy, op.color);
            break;
        case Type::FillBox:
            target.fillBox(op.x1 - dx, op.y1 - dy, op.x2 - dx, op.y2 - dy, op.color);
            break;
        case Type::Circle:
            target.drawCircle(op.x1 - dx, op.y1 - dy, op.x2, op.color);
            break;
        case Type::Picture:
            target.drawPicture(textOf(op), op.x1 - dx, op.y1 - dy, op.x2, op.y2);
            break;
    }
}

void RecordedPages::replayPage(int page, DrawingSurface& target) const {
    if (page < 0 || page >= pageCount()) {
        return;
    }
    const size_t begin = pageStarts_[static_cast<size_t>(page)];
    const size_t end = static_cast<size_t>(page) + 1 < pageStarts_.size()
                           ? pageStarts_[static_cast<size_t>(page) + 1]
                           : ops_.size();
    const SurfaceFont font = target.font();
    const SurfaceColor color = target.textColor();
    const int width = target.lineWidth();
    ReplayState state;
    for (size_t i = begin; i < end; ++i) {
        replayOp(ops_[i], target, 0, 0, state);
    }
    target.setFont(font);
    target.setTextColor(color);
    target.setLineWidth(width);
}

void RecordedPages::replayArea(double left, double top, double right, double bottom,
                               DrawingSurface& target) const {
    if (kind_ != Kind::Picture || bands_.empty() || bottom <= top || right <= left) {
        return;
    }
    std::vector<uint32_t> found;
    const long last = std::min(bandOf(bottom), static_cast<long>(bands_.size()) - 1);
    for (long b = bandOf(top); b <= last; ++b) {
        const std::vector<uint32_t>& band = bands_[static_cast<size_t>(b)];
        found.insert(found.end(), band.begin(), band.end());
    }
    // An op reaching over a band's edge is listed in both bands; it is drawn once, in drawing order.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    const SurfaceFont font = target.font();
    const SurfaceColor color = target.textColor();
    const int width = target.lineWidth();
    ReplayState state;
    for (uint32_t index : found) {
        const Op& op = ops_[index];
        double opTop = std::min(op.y1, op.y2);
        double opBottom = std::max(op.y1, op.y2);
        if (op.type == Type::Circle) {
            opTop = op.y1 - op.x2;
            opBottom = op.y1 + op.x2;
        } else if (op.type == Type::Picture) {
            opBottom = op.y1 + op.y2;
        }
        if (opBottom < top || opTop > bottom) {
            continue;
        }
        replayOp(op, target, left, top, state);
    }
    target.setFont(font);
    target.setTextColor(color);
    target.setLineWidth(width);
}

bool ReplayJob(const RecordedPages& job, int first, int last, DrawingSurface& printer,
               const std::function<bool(int pageInRange)>& beforePage) {
    first = std::max(first, 0);
    last = std::min(last, job.pageCount() - 1);
    for (int page = first; page <= last; ++page) {
        if (beforePage && !beforePage(page - first + 1)) {
            return false;
        }
        // The orientation is set before the sheet is started, which is when a printer takes it.
        printer.setOrientation(job.pageOrientation(page));
        if (page > first && !printer.newPage()) {
            return false;
        }
        job.replayPage(page, printer);
        if (printer.failed()) {
            return false;
        }
    }
    return true;
}

}  // namespace scorvane
