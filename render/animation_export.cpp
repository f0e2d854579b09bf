#include "render/animation_export.h"

#include <gif_lib.h>

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/gif_palette.h"
#include "render/gif_schedule.h"
#include "render/plan_picture.h"

namespace velistrad {

namespace {

const QRect kPlanRect(0, 0, kPlanWidth, kPlanHeight);

int appendBytes(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

class GifWriter {
public:
    GifWriter(QByteArray& out, const GifPalette& palette) : m_palette(palette) {
        int error = 0;
        m_gif = EGifOpen(&out, appendBytes, &error);
        if (!m_gif) {
            fail(error);
            return;
        }
        EGifSetGifVersion(m_gif, true);
        const std::vector<QRgb>& colours = palette.colours();
        std::vector<GifColorType> entries(colours.size());
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i] = {static_cast<GifByteType>(qRed(colours[i])),
                          static_cast<GifByteType>(qGreen(colours[i])),
                          static_cast<GifByteType>(qBlue(colours[i]))};
        ColorMapObject* map = GifMakeMapObject(palette.size(), entries.data());
        check(EGifPutScreenDesc(m_gif, kPlanWidth, kPlanHeight, map->BitsPerPixel, 0, map));
        GifFreeMapObject(map);
        // Played over and over, as a viewer expects of an animation.
        static const GifByteType kNetscape[] = "NETSCAPE2.0";
        static const GifByteType kLoop[] = {1, 0, 0};
        check(EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE));
        check(EGifPutExtensionBlock(m_gif, 11, kNetscape));
        check(EGifPutExtensionBlock(m_gif, 3, kLoop));
        check(EGifPutExtensionTrailer(m_gif));
    }
    ~GifWriter() {
        if (m_gif) EGifCloseFile(m_gif, nullptr);
    }

    // The rectangle `r` of `indexes` (plan width a row), held `centiseconds`.
    void picture(const std::vector<std::uint8_t>& indexes, const QRect& r, int centiseconds,
                 bool transparent) {
        if (!ok()) return;
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.UserInputFlag = false;
        control.DelayTime = centiseconds;
        control.TransparentColor = transparent ? m_palette.transparent() : NO_TRANSPARENT_COLOR;
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        check(EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, block));
        check(EGifPutImageDesc(m_gif, r.x(), r.y(), r.width(), r.height(), false, nullptr));
        for (int y = r.top(); y <= r.bottom() && ok(); ++y) {
            auto* row = const_cast<GifPixelType*>(indexes.data() + y * kPlanWidth + r.x());
            check(EGifPutLine(m_gif, row, r.width()));
        }
    }
    bool finish() {
        int error = 0;
        const bool closed = EGifCloseFile(m_gif, &error) == GIF_OK;
        m_gif = nullptr;
        if (!closed && m_error.empty()) fail(error);
        return ok();
    }
    bool ok() const { return m_error.empty(); }
    const std::string& error() const { return m_error; }

private:
    void check(int status) {
        if (status != GIF_OK && ok()) fail(m_gif ? m_gif->Error : 0);
    }
    void fail(int code) {
        const char* why = GifErrorString(code);
        m_error = std::string("the animation could not be made: ") + (why ? why : "unknown error");
    }

    const GifPalette& m_palette;
    GifFileType* m_gif = nullptr;
    std::string m_error;
};

}  // namespace

namespace {

// The plan pixels that may differ from the last picture: routes walked on,
// and markers that appeared, moved or went. Markers the area touches are
// drawn again in their order.
QRect changedArea(const TrailScene& trails, const MarkerPainter& markers, const ChapterRoom& before,
                  std::size_t beforeShown, const std::vector<Marker>& beforeMarkers,
                  const ChapterRoom& now, std::size_t nowShown,
                  const std::vector<Marker>& nowMarkers) {
    const auto has = [](const std::vector<Marker>& in, const Marker& m) {
        return std::find(in.begin(), in.end(), m) != in.end();
    };
    QRectF changed = trails.changed(before, beforeShown, now, nowShown);
    for (const Marker& m : beforeMarkers)
        if (!has(nowMarkers, m)) changed |= markers.bounds(m);
    for (const Marker& m : nowMarkers)
        if (!has(beforeMarkers, m)) changed |= markers.bounds(m);
    return changed.toAlignedRect().adjusted(-1, -1, 1, 1) & kPlanRect;
}

// What the viewer shows so far as palette indexes, and the next picture:
// the pixels that differ from it, transparent elsewhere.
class PictureDiff {
public:
    explicit PictureDiff(const GifPalette& palette)
        : m_palette(palette),
          m_shown(static_cast<std::size_t>(kPlanWidth) * kPlanHeight, 0),
          m_next(m_shown.size(), palette.transparent()) {}

    // Keeps the canvas's pixels of `area` before they are drawn over.
    void keep(const QImage& canvas, const QRect& area) {
        const int width = area.width();
        m_before.resize(static_cast<std::size_t>(width) * area.height());
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memcpy(m_before.data() + (y - area.top()) * width,
                        canvas.constScanLine(y) + area.left() * 4, width * sizeof(QRgb));
    }

    // Takes the pixels of `area` that now differ into the next picture and
    // returns their bounds; the first picture takes every pixel.
    QRect take(const QImage& canvas, const QRect& area, bool first) {
        const std::uint8_t transparent = m_palette.transparent();
        const int width = area.width();
        int left = kPlanWidth, top = kPlanHeight, right = -1, bottom = -1;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
            std::uint8_t* shownRow = m_shown.data() + y * kPlanWidth;
            std::uint8_t* nextRow = m_next.data() + y * kPlanWidth;
            // Only pixels whose colour changed need their palette index.
            const QRgb* was = m_before.data() + (y - area.top()) * width - area.left();
            for (int x = area.left(); x <= area.right(); ++x) {
                if (!first && row[x] == was[x]) {
                    nextRow[x] = transparent;
                    continue;
                }
                const std::uint8_t i = m_palette.index(row[x]);
                if (!first && i == shownRow[x]) {
                    nextRow[x] = transparent;
                    continue;
                }
                nextRow[x] = i;
                shownRow[x] = i;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0) return {};
        return QRect(QPoint(left, top), QPoint(right, bottom));
    }

    // Nothing changed: a transparent pixel holds the time.
    QRect unchanged() {
        m_next[0] = m_palette.transparent();
        return QRect(0, 0, 1, 1);
    }

    const std::vector<std::uint8_t>& next() const { return m_next; }

private:
    const GifPalette& m_palette;
    std::vector<std::uint8_t> m_shown;
    std::vector<std::uint8_t> m_next;
    std::vector<QRgb> m_before;
};

}  // namespace

QByteArray encodeGif(const ExportScene& scene, double frameDelay, MarkerPainter& markers,
                     const ExportProgress& progress, std::string& error) {
    error.clear();
    const ExportRun& run = scene.run();
    const std::vector<GifFrame> schedule = run.played ? gifSchedule(*run.played, frameDelay)
                                                      : std::vector<GifFrame>{{0, kMinGifDelay}};
    error = animationTooLong(schedule.size());
    if (!error.empty()) return {};
    const TrailScene& trails = scene.trails();
    const GifPalette& palette = gifPalette(!trails.drawn().empty());
    // The plan and the faint routes stay as they are all through the run.
    QImage plan = renderPlan(run.room).convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&plan);
        trails.paintFaint(painter);
    }

    QByteArray out;
    GifWriter gif(out, palette);
    PictureDiff diff(palette);
    QImage canvas = plan.convertToFormat(QImage::Format_RGB32);

    ChapterRoom before = run.played ? ChapterRoom() : run.room;
    ChapterRoom room = before;
    std::vector<Marker> beforeMarkers = markersOf(before);
    std::size_t beforeShown = 0;
    std::size_t cursorAt = 0;
    for (std::size_t n = 0; n < schedule.size(); ++n) {
        const GifFrame& picture = schedule[n];
        for (; cursorAt < picture.frames; ++cursorAt) run.played->apply(cursorAt, room);
        const std::vector<Marker> nowMarkers = markersOf(room);
        const QRect dirty = n == 0 ? kPlanRect
                                   : changedArea(trails, markers, before, beforeShown,
                                                 beforeMarkers, room, picture.frames, nowMarkers);
        QRect bounds;  // of the pixels that differ from what is shown
        if (!dirty.isEmpty()) {
            diff.keep(canvas, dirty);
            // The plan put back by copying: it is opaque and of the same format.
            for (int y = dirty.top(); y <= dirty.bottom(); ++y)
                std::memcpy(canvas.scanLine(y) + dirty.left() * 4,
                            plan.constScanLine(y) + dirty.left() * 4, dirty.width() * sizeof(QRgb));
            QPainter painter(&canvas);
            painter.setClipRect(dirty);
            trails.paintWalked(painter, room, picture.frames, dirty);
            markers.paint(painter, nowMarkers);
            trails.paintRing(painter, room, dirty);
            scene.paintLegend(painter);  // over all, as on the screen
            painter.end();
            bounds = diff.take(canvas, dirty, n == 0);
        }
        if (bounds.isEmpty()) bounds = diff.unchanged();
        gif.picture(diff.next(), bounds, picture.centiseconds, n > 0);
        if (!gif.ok()) break;
        if (static_cast<std::size_t>(out.size()) > kMaxAnimationBytes) {
            error = "the animation would be larger than " +
                    std::to_string(kMaxAnimationBytes / (1024 * 1024)) + " MB";
            return {};
        }

        before = room;
        beforeMarkers = nowMarkers;
        beforeShown = picture.frames;
        if (progress && !progress(n + 1, schedule.size())) return {};
    }
    if (!gif.finish()) {
        error = gif.error();
        return {};
    }
    return out;
}

std::string writeGif(const std::string& path, const ExportScene& scene, double frameDelay,
                     MarkerPainter& markers, const ExportProgress& progress) {
    std::string error;
    const QByteArray bytes = encodeGif(scene, frameDelay, markers, progress, error);
    if (bytes.isEmpty()) return error;
    return replaceFileWith(path, bytes);
}

}  // namespace velistrad
