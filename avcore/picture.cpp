#include "picture.h"

#include <algorithm>
#include <cmath>

namespace avcore {
namespace {

// Shapes closer than this share count as the same: a pixel or two of black is not worth a border.
constexpr double kSameShape = 0.01;

bool SameShape(double a, double b) {
    return std::fabs(a / b - 1) < kSameShape;
}

Ratio ShapeOf(FrameSize size) {
    return MakeRatio(size.width, size.height);
}

// A ratio whose terms fit in 16 bits (what AVI and MPEG-4 store), by continued fractions.
Ratio Simplest(Ratio r) {
    constexpr long long kMax = 65535;
    if (r.num <= kMax && r.den <= kMax) {
        return r;
    }
    const double value = r.Value();
    long long p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double x = value;
    for (int i = 0; i < 32; ++i) {
        const auto a = static_cast<long long>(std::floor(x));
        const long long p2 = a * p1 + p0, q2 = a * q1 + q0;
        if (p2 > kMax || q2 > kMax) {
            break;
        }
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
        if (x - static_cast<double>(a) < 1e-9) {
            break;
        }
        x = 1 / (x - static_cast<double>(a));
    }
    return q1 == 0 ? Ratio{} : MakeRatio(p1, q1);
}

int Even(double value) {
    return std::max(2, static_cast<int>(std::lround(value / 2)) * 2);
}

int FloorTo(double value, int alignment) {
    return std::max(alignment, static_cast<int>(value) / alignment * alignment);
}

int RoundTo(double value, int alignment) {
    return std::max(alignment, static_cast<int>(std::lround(value / alignment)) * alignment);
}

FrameSize NearestH263Size(FrameSize wanted) {
    static const FrameSize sizes[] = {{128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
    const long area = static_cast<long>(wanted.width) * wanted.height;
    FrameSize best = sizes[0];
    for (const auto& s : sizes) {
        if (std::labs(static_cast<long>(s.width) * s.height - area) <
            std::labs(static_cast<long>(best.width) * best.height - area)) {
            best = s;
        }
    }
    return best;
}

long long Macroblocks(FrameSize size) {
    return static_cast<long long>((size.width + 15) / 16) * ((size.height + 15) / 16);
}

bool Exceeds(FrameSize size, const VideoLimits& limits) {
    return (limits.maxWidth && size.width > limits.maxWidth) ||
           (limits.maxHeight && size.height > limits.maxHeight) ||
           (limits.maxMacroblocks && Macroblocks(size) > limits.maxMacroblocks);
}

// The largest frame of about the same shape within the limits.
FrameSize Shrink(FrameSize size, const VideoLimits& limits, int alignment) {
    double scale = 1;
    if (limits.maxWidth) {
        scale = std::min(scale, static_cast<double>(limits.maxWidth) / size.width);
    }
    if (limits.maxHeight) {
        scale = std::min(scale, static_cast<double>(limits.maxHeight) / size.height);
    }
    if (limits.maxMacroblocks) {
        scale = std::min(scale, std::sqrt(limits.maxMacroblocks * 256.0 / size.width / size.height));
    }
    const double shape = static_cast<double>(size.width) / size.height;
    FrameSize fitted;
    do {
        fitted.height = FloorTo(size.height * scale, alignment);
        fitted.width = RoundTo(fitted.height * shape, alignment);
        scale *= 0.99;
    } while (Exceeds(fitted, limits) && fitted.height > alignment);
    return fitted;
}

// Of the shapes allowed, the one nearest to the wanted shape.
Ratio NearestShape(Ratio wanted, const std::vector<Ratio>& allowed) {
    Ratio best = allowed.front();
    for (const Ratio& r : allowed) {
        if (std::fabs(std::log(r.Value() / wanted.Value())) <
            std::fabs(std::log(best.Value() / wanted.Value()))) {
            best = r;
        }
    }
    return best;
}

// The shapes a frame can be shown in: square pixels always, others as far as the encoder can
// signal them and the container stores them.
std::vector<Ratio> ShowableShapes(FrameSize frame, const VideoLimits& limits,
                                  const ContainerLimits& container) {
    std::vector<Ratio> shapes = {ShapeOf(frame)};
    if (!container.carriesPixelShape) {
        return shapes;
    }
    shapes.insert(shapes.end(), limits.frameShapes.begin(), limits.frameShapes.end());
    for (const Ratio& pixel : limits.pixelShapes) {
        shapes.push_back(MakeRatio(pixel.num * frame.width, pixel.den * frame.height));
    }
    return shapes;
}

bool Showable(Ratio shape, FrameSize frame, const VideoLimits& limits, const ContainerLimits& container) {
    if (container.carriesPixelShape && limits.frameShapes.empty() && limits.pixelShapes.empty()) {
        return true;
    }
    const Ratio nearest = NearestShape(shape, ShowableShapes(frame, limits, container));
    return SameShape(nearest.Value(), shape.Value());
}

// A frame of square pixels in the shape, as near to the box's shape as the alignment allows: as
// high as the box, or (fitInside) within it.
FrameSize SquarePixelFrame(Ratio shape, FrameSize box, int alignment, bool fitInside) {
    const double d = shape.Value();
    const bool keepWidth = fitInside && d > static_cast<double>(box.width) / box.height;
    FrameSize best{};
    double bestError = 1e9;
    // A few sizes a little smaller than the box may match the shape better once aligned.
    for (int step = 0; step < 8; ++step) {
        FrameSize f;
        if (keepWidth) {
            f.width = std::max(alignment, FloorTo(box.width, alignment) - step * alignment);
            f.height = RoundTo(f.width / d, alignment);
        } else {
            f.height = std::max(alignment, FloorTo(box.height, alignment) - step * alignment);
            f.width = RoundTo(f.height * d, alignment);
        }
        const double error = std::fabs(std::log(static_cast<double>(f.width) / f.height / d));
        if (error < bestError - 1e-9) {
            best = f;
            bestError = error;
        }
        if (error < kSameShape / 2) {
            break;
        }
    }
    return best;
}

std::string SizeText(FrameSize size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

std::string ShapeText(Ratio r) {
    return std::to_string(r.num) + ":" + std::to_string(r.den);
}

} // namespace

std::string PictureFit::Filters() const {
    std::string text = "scale=" + std::to_string(picture.width) + ":" + std::to_string(picture.height);
    if (picture.width != frame.width || picture.height != frame.height) {
        text += ",pad=" + std::to_string(frame.width) + ":" + std::to_string(frame.height) +
                ":(ow-iw)/2:(oh-ih)/2:black";
    }
    const Ratio sar = Simplest(pixelShape);
    return text + ",setsar=" + std::to_string(sar.num) + "/" + std::to_string(sar.den) + ":max=65535";
}

PictureFit FitPicture(const StreamFacts& source, const PictureRequest& request, const VideoCodecInfo& codec,
                      const VideoLimits& limits, const ContainerLimits& container) {
    PictureFit fit;
    const int width = std::max(1, source.UprightWidth());
    const int height = std::max(1, source.UprightHeight());
    const Ratio pixel = source.UprightPixelShape();
    // The shape the source is shown in, upright.
    const Ratio shown =
        MakeRatio(static_cast<long long>(width) * pixel.num, static_cast<long long>(height) * pixel.den);
    const int alignment = codec.alignment;
    const std::string name(limits.label.empty() ? codec.name : limits.label);
    // Whether the frame's size may follow its shape (not fixed by the encoder or a disc).
    const bool sizeFree = !request.target && codec.sizeRule != SizeRule::H263Sizes;

    // The frame and the shape it is shown in.
    Ratio shape = shown;
    if (request.target) {
        fit.frame = {request.target->width, request.target->height};
        shape = request.shape.value_or(NearestShape(shown, request.target->shapes));
    } else if (codec.sizeRule == SizeRule::H263Sizes) {
        const FrameSize squarePixels{std::max(1, static_cast<int>(std::lround(width * pixel.Value()))),
                                     height};
        fit.frame = NearestH263Size(request.size.value_or(squarePixels));
        if (request.size &&
            (fit.frame.width != request.size->width || fit.frame.height != request.size->height)) {
            fit.notes.push_back("Note: H.263 only knows five picture sizes; " + SizeText(fit.frame) +
                                " is used");
        }
        shape = request.shape.value_or(ShapeOf(fit.frame));
    } else if (request.size) {
        fit.frame = {RoundTo(request.size->width, alignment), RoundTo(request.size->height, alignment)};
        shape = request.shape.value_or(ShapeOf(fit.frame));
    } else {
        // The source's own size; most encoders need even sizes, some multiples of 4 or 16.
        fit.frame = {FloorTo(width, alignment), FloorTo(height, alignment)};
        shape = request.shape.value_or(shown);
    }

    if (sizeFree && Exceeds(fit.frame, limits)) {
        fit.frame = Shrink(fit.frame, limits, alignment);
        fit.notes.push_back("Note: " + name + " video holds at most " + std::to_string(limits.maxWidth) +
                            "x" + std::to_string(limits.maxHeight) +
                            (limits.maxMacroblocks
                                 ? " and " + std::to_string(limits.maxMacroblocks) + " macroblocks"
                                 : std::string()) +
                            " in a picture; " + SizeText(fit.frame) + " is used");
    }

    // A picture smaller than the encoder takes is enlarged to its smallest, in the same shape.
    if (sizeFree && limits.minSide &&
        (fit.frame.width < limits.minSide || fit.frame.height < limits.minSide)) {
        const double scale = std::max(static_cast<double>(limits.minSide) / fit.frame.width,
                                      static_cast<double>(limits.minSide) / fit.frame.height);
        fit.frame = {std::max(limits.minSide, RoundTo(std::ceil(fit.frame.width * scale), alignment)),
                     std::max(limits.minSide, RoundTo(std::ceil(fit.frame.height * scale), alignment))};
        fit.notes.push_back("Note: " + name + " video holds at least " + std::to_string(limits.minSide) +
                            "x" + std::to_string(limits.minSide) + " in a picture; " + SizeText(fit.frame) +
                            " is used");
    }

    // A shape the output cannot show with these pixels: a free frame takes square pixels in that
    // shape; a fixed one is shown in the nearest shape it can be.
    if (!Showable(shape, fit.frame, limits, container)) {
        if (sizeFree) {
            fit.frame = SquarePixelFrame(shape, fit.frame, alignment, request.size.has_value());
            if (Exceeds(fit.frame, limits)) {
                fit.frame = Shrink(fit.frame, limits, alignment);
            }
            if (request.size) {
                fit.notes.push_back("Note: this format shows " + ShapeText(shape) +
                                    " only with square pixels; " + SizeText(fit.frame) + " is used");
            }
            shape = ShapeOf(fit.frame);
        } else {
            const Ratio nearest = NearestShape(shape, ShowableShapes(fit.frame, limits, container));
            if (request.shape) {
                fit.notes.push_back("Note: " + name + " video in this format cannot be shown as " +
                                    ShapeText(shape) + "; " + ShapeText(nearest) + " is used");
            }
            shape = nearest;
        }
    }

    // The picture, fitted inside the frame's shape.
    const double s = shown.Value();
    const double d = shape.Value();
    fit.picture = fit.frame;
    if (SameShape(s, d)) {
        // It fills the frame.
    } else if (s > d) {
        fit.picture.height = std::min(fit.frame.height, Even(fit.frame.height * d / s));
    } else {
        fit.picture.width = std::min(fit.frame.width, Even(fit.frame.width * s / d));
    }
    fit.pixelShape = MakeRatio(shape.num * fit.frame.height, shape.den * fit.frame.width);
    return fit;
}

} // namespace avcore
