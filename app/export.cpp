#include "app/export.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "app/plan_picture.h"
#include "engine/room_words.h"
#include "engine/simulator.h"
#include "simulations/safe_file.h"

namespace velistrad {

namespace {

const QRect kPlanRect(0, 0, kPlanWidth, kPlanHeight);

std::string written(const std::string& path, const QByteArray& bytes) {
    return replaceFile(path,
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QFont sheetFont(qreal pixels, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    return font;
}

// `text` wrapped into `box` in the largest size from `largest` down that
// fits; what still does not fit is cut.
void drawFitted(QPainter& painter, const QRectF& box, const QString& text, qreal largest) {
    qreal size = largest;
    for (; size > 4; size -= 0.5) {
        const QRectF needed = QFontMetricsF(sheetFont(size))
                                  .boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft, text);
        if (needed.height() <= box.height()) break;
    }
    painter.setFont(sheetFont(size));
    painter.setPen(Qt::black);
    painter.save();
    painter.setClipRect(box);
    painter.drawText(box, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

QString speedWords(double framedelay) {
    for (int i = 1; i <= 5; ++i)
        if (std::abs(speedFrameDelay(i) - framedelay) < 1e-9)
            return QString::fromUtf8(speedName(i));
    return QStringLiteral("%1 s a frame").arg(framedelay);
}

QString seconds(double s) {
    return QString::number(s, 'f', 1);
}

// The PDF's own unit is the point: 72 a page inch.
constexpr int kPdfResolution = 72;

}  // namespace

ExportScene::ExportScene(ExportRun run) : m_run(std::move(run)) {
    if (m_run.played && m_run.options.any())
        m_trails = TrailScene(officerTrails(*m_run.played), m_run.options);
    else
        m_trails = TrailScene({}, m_run.options);
}

ChapterRoom ExportScene::roomAt(std::size_t shown) const {
    if (!m_run.played) return m_run.room;
    ChapterRoom room;
    m_run.played->seek(shown, room);
    return room;
}

QImage ExportScene::frame(std::size_t shown, MarkerPainter& markers) const {
    QImage image = renderPlan(m_run.room);
    const ChapterRoom room = roomAt(shown);
    QPainter painter(&image);
    m_trails.paintRoutes(painter, room, shown);
    markers.paint(painter, markersOf(room));
    m_trails.paintRing(painter, room);
    painter.end();
    return image;
}

void ExportScene::paintView(QPainter& painter, MarkerPainter& markers) const {
    paintScene(painter, roomAt(m_run.shown), markers, m_trails, m_run.shown);
}

std::string writePng(const std::string& path, const ExportScene& scene, MarkerPainter& markers) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!scene.frame(scene.run().shown, markers).save(&buffer, "PNG"))
        return "the picture could not be made";
    return written(path, bytes);
}

std::string writeSvg(const std::string& path, const ExportScene& scene, MarkerPainter& markers) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(kPlanWidth, kPlanHeight));
    svg.setViewBox(kPlanRect);
    svg.setTitle(QString::fromStdString(scene.run().name));
    svg.setDescription(QStringLiteral("Plan of the Chapter room"));
    QPainter painter;
    if (!painter.begin(&svg)) return "the drawing could not be made";
    scene.paintView(painter, markers);
    painter.end();
    return written(path, bytes);
}

void paintPlanSheet(QPainter& painter, const ExportScene& scene, MarkerPainter& markers) {
    const qreal margin = 10;
    painter.save();
    painter.setPen(Qt::black);
    painter.setFont(sheetFont(13, true));
    painter.drawText(QRectF(margin, 4, kPlanWidth - 2 * margin, 20),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(scene.run().name));

    const qreal scale = 0.74;
    const QRectF plan(margin, 28, kPlanWidth * scale, kPlanHeight * scale);
    painter.save();
    painter.translate(plan.topLeft());
    painter.scale(scale, scale);
    scene.paintView(painter, markers);
    painter.restore();

    const QRectF legend(plan.right() + 10, plan.top(), kPlanWidth - plan.right() - 10 - margin,
                        plan.height());
    std::vector<int> officers = scene.trails().drawn();
    std::sort(officers.begin(), officers.end());  // in the officer table's order
    if (!officers.empty()) {
        painter.setFont(sheetFont(9, true));
        painter.drawText(legend.topLeft() + QPointF(0, 9), QStringLiteral("Officers"));
        paintLegend(painter, legend.adjusted(0, 14, 0, 0), scene.run().room, officers, 14);
    }

    const QRectF text(margin, plan.bottom() + 8, kPlanWidth - 2 * margin,
                      kPlanHeight - plan.bottom() - 8 - margin);
    drawFitted(painter, text, QString::fromStdString(oneLine(scene.run().script)), 8);
    painter.restore();
}

std::string writePlanPdf(const std::string& path, const ExportScene& scene,
                         MarkerPainter& markers) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        // A page of the plan's own shape, in points.
        QPdfWriter pdf(&buffer);
        pdf.setTitle(QString::fromStdString(scene.run().name));
        pdf.setCreator(QStringLiteral("Velistrad Simulator"));
        pdf.setResolution(kPdfResolution);
        pdf.setPageSize(QPageSize(QSizeF(kPlanWidth, kPlanHeight), QPageSize::Point, QString(),
                                  QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf)) return "the document could not be made";
        paintPlanSheet(painter, scene, markers);
        painter.end();
    }
    return written(path, bytes);
}

void paintPartSheet(QPainter& painter, const QSizeF& page, const ExportScene& scene, int officer,
                    const std::function<void()>& newPage) {
    const ExportRun& run = scene.run();
    const std::vector<PartStep> part =
        run.played ? officerPart(*run.played, run.script, officer, run.framedelay)
                   : std::vector<PartStep>();
    const QString who = QString::fromStdString(officerTitle(officer));
    const qreal margin = 36;
    painter.save();
    painter.setFont(sheetFont(16, true));
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(margin, 24, page.width() - 2 * margin, 24), Qt::AlignLeft,
        QStringLiteral("%1's part \u2014 %2").arg(who, QString::fromStdString(run.name)));

    // His whole route, walked from end to end, on the empty plan.
    const qreal scale = 0.62;
    const QRectF plan(margin, 56, kPlanWidth * scale, kPlanHeight * scale);
    painter.save();
    painter.translate(plan.topLeft());
    painter.scale(scale, scale);
    paintPlan(painter, run.room);
    if (run.played) {
        const ChapterRoom end = scene.roomAt(run.played->size());
        TrailScene(officerTrails(*run.played), {officer, false})
            .paintRoutes(painter, end, run.played->size());
    }
    painter.restore();

    const double total = run.played ? run.played->timeAt(run.played->size(), run.framedelay) : 0;
    QString summary =
        QStringLiteral("%1 %2 of the script %3 him.")
            .arg(part.size())
            .arg(part.size() == 1 ? QStringLiteral("entry") : QStringLiteral("entries"))
            .arg(part.size() == 1 ? QStringLiteral("moves") : QStringLiteral("move"));
    if (!part.empty()) {
        summary += QStringLiteral("\n\nHe walks from %1 s to %2 s.")
                       .arg(seconds(part.front().start), seconds(part.back().end));
    }
    summary += QStringLiteral("\n\nThe whole run takes %1 s at %2.")
                   .arg(seconds(total), speedWords(run.framedelay));
    painter.setFont(sheetFont(11));
    const QRectF side(plan.right() + 16, plan.top(), page.width() - plan.right() - 16 - margin,
                      plan.height());
    painter.drawText(side, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, summary);

    // His steps, carried on to further pages.
    const QFont font = sheetFont(10);
    const QFontMetricsF metrics(font);
    const qreal rowGap = 5;
    qreal y = plan.bottom() + 20;
    const qreal timeWidth = metrics.horizontalAdvance(QStringLiteral("0000.0 \u2013 0000.0 s")) + 8;
    const qreal numberWidth = metrics.horizontalAdvance(QStringLiteral("000.")) + 6;
    const qreal textLeft = margin + numberWidth + timeWidth;
    const qreal textWidth = page.width() - margin - textLeft;
    painter.setFont(font);
    for (std::size_t i = 0; i < part.size(); ++i) {
        const PartStep& step = part[i];
        const QString text = QString::fromStdString(step.text) + QStringLiteral("\n") +
                             QString::fromStdString(step.reading);
        const QRectF needed =
            metrics.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, text);
        if (y + needed.height() > page.height() - margin && y > margin + 1) {
            newPage();
            y = margin;
        }
        painter.drawText(QRectF(margin, y, numberWidth, needed.height()), Qt::AlignLeft,
                         QStringLiteral("%1.").arg(i + 1));
        painter.drawText(
            QRectF(margin + numberWidth, y, timeWidth, needed.height()), Qt::AlignLeft,
            QStringLiteral("%1 \u2013 %2 s").arg(seconds(step.start), seconds(step.end)));
        painter.drawText(QRectF(textLeft, y, textWidth, needed.height()),
                         Qt::TextWordWrap | Qt::AlignLeft, text);
        y += needed.height() + rowGap;
    }
    painter.restore();
}

std::string writePartPdf(const std::string& path, const ExportScene& scene, int officer) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        const QString who = QString::fromStdString(officerTitle(officer));
        pdf.setTitle(
            QStringLiteral("%1's part in %2").arg(who, QString::fromStdString(scene.run().name)));
        pdf.setCreator(QStringLiteral("Velistrad Simulator"));
        pdf.setResolution(kPdfResolution);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf)) return "the document could not be made";
        paintPartSheet(painter, QSizeF(pdf.width(), pdf.height()), scene, officer,
                       [&pdf] { pdf.newPage(); });
        painter.end();
    }
    return written(path, bytes);
}

// ---- The animation ----

namespace {

// The plan's commonest colours (and with routes each officer's colour and
// its faint shade on the floor), then an even spread of the colour space for
// the shades between. Few colours make small pictures: 32 for the plan and
// its markers, 128 with routes. The last index is transparent.
class GifPalette {
public:
    explicit GifPalette(bool routes) : m_size(routes ? 128 : 32) {
        const QImage plan = renderPlan(ChapterRoom());
        QHash<QRgb, int> counts;
        for (int y = 0; y < plan.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(plan.constScanLine(y));
            for (int x = 0; x < plan.width(); ++x) ++counts[row[x] | 0xFF000000u];
        }
        std::vector<std::pair<int, QRgb>> common;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            common.emplace_back(it.value(), it.key());
        std::sort(common.begin(), common.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        add(qRgb(0, 0, 0));
        add(qRgb(255, 255, 255));
        int spread = 2;  // steps of the even spread per primary
        if (routes) {
            const QRgb floor = common.front().second;
            for (int k = 0; k < kOfficerCount; ++k) {
                const QColor c = officerColour(k);
                add(c.rgb());
                const auto mix = [](int a, int b) { return (a * 90 + b * (255 - 90)) / 255; };
                add(qRgb(mix(c.red(), qRed(floor)), mix(c.green(), qGreen(floor)),
                         mix(c.blue(), qBlue(floor))));
            }
            spread = 3;
        }
        const int cube = spread * spread * spread;
        for (std::size_t i = 0; i < common.size() && m_used + cube < transparent(); ++i)
            add(common[i].second);
        for (int r = 0; r < spread; ++r)
            for (int g = 0; g < spread; ++g)
                for (int b = 0; b < spread; ++b)
                    add(qRgb(r * 255 / (spread - 1), g * 255 / (spread - 1),
                             b * 255 / (spread - 1)));
        m_colours.resize(static_cast<std::size_t>(m_size), qRgb(0, 0, 0));
        for (int i = 0; i < 32768; ++i) {
            const int r = ((i >> 10) & 31) * 255 / 31;
            const int g = ((i >> 5) & 31) * 255 / 31;
            const int b = (i & 31) * 255 / 31;
            int best = 0;
            int bestDistance = 1 << 30;
            for (int c = 0; c < m_used; ++c) {
                const QRgb p = m_colours[static_cast<std::size_t>(c)];
                const int d = (qRed(p) - r) * (qRed(p) - r) * 3 +
                              (qGreen(p) - g) * (qGreen(p) - g) * 4 +
                              (qBlue(p) - b) * (qBlue(p) - b) * 2;
                if (d < bestDistance) {
                    bestDistance = d;
                    best = c;
                }
            }
            m_nearest[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(best);
        }
    }

    int size() const { return m_size; }
    std::uint8_t transparent() const { return static_cast<std::uint8_t>(m_size - 1); }
    std::uint8_t index(QRgb pixel) const {
        pixel |= 0xFF000000u;
        // A picture has few colours: most are found in this cache.
        Cached& cached = m_cache[(pixel * 2654435761u) >> 20];
        if (cached.pixel == pixel) return cached.index;
        const auto exact = m_exact.find(pixel);
        const std::uint8_t i = exact != m_exact.end()
                                   ? exact->second
                                   : m_nearest[static_cast<std::size_t>(
                                         ((qRed(pixel) >> 3) << 10) | ((qGreen(pixel) >> 3) << 5) |
                                         (qBlue(pixel) >> 3))];
        cached = {pixel, i};
        return i;
    }
    QRgb colour(std::uint8_t i) const { return m_colours[i]; }
    const std::vector<QRgb>& colours() const { return m_colours; }

private:
    void add(QRgb c) {
        c |= 0xFF000000u;
        if (m_used >= transparent() || m_exact.count(c)) return;
        m_exact.emplace(c, static_cast<std::uint8_t>(m_used));
        m_colours.push_back(c);
        ++m_used;
    }

    struct Cached {
        QRgb pixel = 0;  // never a pixel: pixels are opaque
        std::uint8_t index = 0;
    };
    mutable std::array<Cached, 4096> m_cache{};
    int m_size;
    std::vector<QRgb> m_colours;
    int m_used = 0;
    std::unordered_map<QRgb, std::uint8_t> m_exact;
    std::array<std::uint8_t, 32768> m_nearest{};
};

const GifPalette& gifPalette(bool routes) {
    static const GifPalette plain(false);
    static const GifPalette coloured(true);
    return routes ? coloured : plain;
}

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

QRgb gifColour(QRgb pixel, bool routes) {
    const GifPalette& palette = gifPalette(routes);
    return palette.colour(palette.index(pixel));
}

QByteArray encodeGif(const ExportScene& scene, double framedelay, MarkerPainter& markers,
                     const ExportProgress& progress, std::string& error) {
    error.clear();
    const ExportRun& run = scene.run();
    const std::vector<GifFrame> schedule = run.played ? gifSchedule(*run.played, framedelay)
                                                      : std::vector<GifFrame>{{0, kMinGifDelay}};
    error = animationTooLong(schedule.size());
    if (!error.empty()) return {};
    const TrailScene& trails = scene.trails();
    const GifPalette& palette = gifPalette(!trails.drawn().empty());
    const std::uint8_t kTransparent = palette.transparent();
    // The plan and the faint routes stay as they are all through the run.
    QImage plan = renderPlan(run.room).convertToFormat(QImage::Format_RGB32);
    {
        QPainter painter(&plan);
        trails.paintFaint(painter);
    }

    QByteArray out;
    GifWriter gif(out, palette);
    // What the viewer shows so far, as palette indexes.
    std::vector<std::uint8_t> shownPixels(static_cast<std::size_t>(kPlanWidth) * kPlanHeight, 0);
    std::vector<std::uint8_t> next(shownPixels.size(), kTransparent);
    QImage canvas = plan.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> beforeRgb;

    ChapterRoom before = run.played ? ChapterRoom() : run.room;
    ChapterRoom room = before;
    std::vector<Marker> beforeMarkers = markersOf(before);
    std::size_t beforeShown = 0;
    std::size_t cursorAt = 0;
    for (std::size_t n = 0; n < schedule.size(); ++n) {
        const GifFrame& picture = schedule[n];
        for (; cursorAt < picture.frames; ++cursorAt) run.played->apply(cursorAt, room);
        const std::vector<Marker> nowMarkers = markersOf(room);

        QRect dirty;
        if (n == 0) {
            dirty = kPlanRect;
        } else {
            const auto has = [](const std::vector<Marker>& in, const Marker& m) {
                return std::find(in.begin(), in.end(), m) != in.end();
            };
            QRectF changed = trails.changed(before, beforeShown, room, picture.frames);
            for (const Marker& m : beforeMarkers)
                if (!has(nowMarkers, m)) changed |= markers.bounds(m);
            for (const Marker& m : nowMarkers)
                if (!has(beforeMarkers, m)) changed |= markers.bounds(m);
            // Markers the changed area touches are drawn again in their order.
            dirty = changed.toAlignedRect().adjusted(-1, -1, 1, 1) & kPlanRect;
        }

        QRect bounds;  // of the pixels that differ from what is shown
        if (!dirty.isEmpty()) {
            // Only pixels whose colour changed need their palette index.
            const int width = dirty.width();
            beforeRgb.resize(static_cast<std::size_t>(width) * dirty.height());
            for (int y = dirty.top(); y <= dirty.bottom(); ++y)
                std::memcpy(beforeRgb.data() + (y - dirty.top()) * width,
                            canvas.constScanLine(y) + dirty.left() * 4, width * sizeof(QRgb));
            // The plan put back by copying: it is opaque and of the same format.
            for (int y = dirty.top(); y <= dirty.bottom(); ++y)
                std::memcpy(canvas.scanLine(y) + dirty.left() * 4,
                            plan.constScanLine(y) + dirty.left() * 4, width * sizeof(QRgb));
            QPainter painter(&canvas);
            painter.setClipRect(dirty);
            trails.paintWalked(painter, room, picture.frames, dirty);
            markers.paint(painter, nowMarkers);
            trails.paintRing(painter, room);
            painter.end();
            int left = kPlanWidth, top = kPlanHeight, right = -1, bottom = -1;
            for (int y = dirty.top(); y <= dirty.bottom(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
                std::uint8_t* shownRow = shownPixels.data() + y * kPlanWidth;
                std::uint8_t* nextRow = next.data() + y * kPlanWidth;
                const QRgb* was = beforeRgb.data() + (y - dirty.top()) * width - dirty.left();
                for (int x = dirty.left(); x <= dirty.right(); ++x) {
                    if (n > 0 && row[x] == was[x]) {
                        nextRow[x] = kTransparent;
                        continue;
                    }
                    const std::uint8_t i = palette.index(row[x]);
                    if (n > 0 && i == shownRow[x]) {
                        nextRow[x] = kTransparent;
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
            if (right >= 0) bounds = QRect(QPoint(left, top), QPoint(right, bottom));
        }
        if (bounds.isEmpty()) {
            // Nothing changed: a transparent pixel holds the time.
            bounds = QRect(0, 0, 1, 1);
            next[0] = kTransparent;
        }
        gif.picture(next, bounds, picture.centiseconds, n > 0);
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

std::string writeGif(const std::string& path, const ExportScene& scene, double framedelay,
                     MarkerPainter& markers, const ExportProgress& progress) {
    std::string error;
    const QByteArray bytes = encodeGif(scene, framedelay, markers, progress, error);
    if (bytes.isEmpty()) return error;
    return written(path, bytes);
}

}  // namespace velistrad
