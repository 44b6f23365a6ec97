#include "support/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text_lines.h"

namespace scorvane::testing {

std::vector<RecordingSurface::Op> RecordingSurface::ops(Op::Type type) const {
    std::vector<Op> out;
    std::copy_if(ops_.begin(), ops_.end(), std::back_inserter(out),
                 [type](const Op& op) { return op.type == type; });
    return out;
}

std::vector<std::string> RecordingSurface::texts() const {
    std::vector<std::string> out;
    for (const Op& op : ops_) {
        if (op.type == Op::Text || op.type == Op::TextInRect) {
            out.push_back(op.text);
        }
    }
    return out;
}

const RecordingSurface::Op& RecordingSurface::textOp(const std::string& text) const {
    for (const Op& op : ops_) {
        if ((op.type == Op::Text || op.type == Op::TextInRect) && op.text == text) {
            return op;
        }
    }
    ADD_FAILURE() << "no text \"" << text << "\" was drawn";
    static const Op none;
    return none;
}

bool RecordingSurface::hasText(const std::string& text) const {
    return std::any_of(ops_.begin(), ops_.end(), [&](const Op& op) {
        return (op.type == Op::Text || op.type == Op::TextInRect) && op.text == text;
    });
}

int RecordingSurface::count(Op::Type type) const {
    return static_cast<int>(
        std::count_if(ops_.begin(), ops_.end(), [type](const Op& op) { return op.type == type; }));
}

double RecordingSurface::width() const {
    if (kind_ == Kind::Picture) {
        return pictureWidth_;
    }
    return orientation_ == PageOrientation::Portrait ? kA4Width : kA4Height;
}

double RecordingSurface::height() const {
    if (kind_ == Kind::Picture) {
        return pictureHeight_;
    }
    return orientation_ == PageOrientation::Portrait ? kA4Height : kA4Width;
}

void RecordingSurface::setSize(double width, double height) {
    if (kind_ == Kind::Picture) {
        pictureWidth_ = width;
        pictureHeight_ = height;
        ops_.push_back(make(Op::SetSize, 0, 0, width, height, 0));
    }
}

double RecordingSurface::textWidth(std::string_view text) {
    double widest = 0;
    for (std::string_view line : SplitTextLines(text)) {
        double w = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(line[i]);
            if (c < 0x80) {
                w += CharWidth(font_.size, false);
            } else if ((c & 0xC0) == 0xC0) {  // the lead byte of a multi-byte character
                w += CharWidth(font_.size, true);
            }
        }
        widest = std::max(widest, w);
    }
    return widest;
}

double RecordingSurface::textHeight(std::string_view text) {
    return static_cast<double>(CountTextLines(text)) * LineHeight(font_.size);
}

RecordingSurface::Op RecordingSurface::make(Op::Type type, double x1, double y1, double x2, double y2,
                                            SurfaceColor color) const {
    Op op;
    op.type = type;
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
    op.font = font_;
    op.color = color;
    op.lineWidth = lineWidth_;
    op.page = page_;
    return op;
}

void RecordingSurface::drawTextAt(double x, double y, std::string_view line) {
    Op op = make(Op::Text, x, y, x + textWidth(line), y + textHeight(line), textColor_);
    op.text = std::string(line);
    ops_.push_back(std::move(op));
}

void RecordingSurface::drawTextInRect(double left, double top, double right, double bottom,
                                      std::string_view text, TextAlign align) {
    Op op = make(Op::TextInRect, left, top, right, bottom, textColor_);
    op.text = std::string(text);
    op.align = align;
    ops_.push_back(std::move(op));
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2, SurfaceColor color) {
    ops_.push_back(make(Op::Line, x1, y1, x2, y2, color));
}

void RecordingSurface::drawBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    ops_.push_back(make(Op::Box, x1, y1, x2, y2, color));
}

void RecordingSurface::fillBox(double x1, double y1, double x2, double y2, SurfaceColor color) {
    ops_.push_back(make(Op::FillBox, x1, y1, x2, y2, color));
}

void RecordingSurface::drawCircle(double centerX, double centerY, double radius, SurfaceColor color) {
    ops_.push_back(make(Op::Circle, centerX, centerY, radius, 0, color));
}

void RecordingSurface::drawPicture(std::string_view imageBytes, double left, double top, double width,
                                   double height) {
    Op op = make(Op::Picture, left, top, left + width, top + height, 0);
    op.text = std::string(imageBytes);
    ops_.push_back(std::move(op));
}

void RecordingSurface::clear() {
    if (kind_ == Kind::Picture) {
        ops_.push_back(make(Op::Clear, 0, 0, 0, 0, 0));
    }
}

bool RecordingSurface::newPage() {
    if (kind_ == Kind::Picture) {
        return true;
    }
    if (failed_ || page_ + 1 == failAtPage_) {
        failed_ = true;
        return false;
    }
    ++page_;
    ops_.push_back(make(Op::NewPage, 0, 0, 0, 0, 0));
    return true;
}

void RecordingSurface::abortJob() {
    ops_.push_back(make(Op::Abort, 0, 0, 0, 0, 0));
}

bool RecordingSurface::endJob() {
    ops_.push_back(make(Op::EndJob, 0, 0, 0, 0, 0));
    return !failed_;
}

}  // namespace scorvane::testing
