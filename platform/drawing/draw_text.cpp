#include "platform/drawing/draw_text.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace tunekist {
namespace {

// Text is drawn as plain pixels of the text colour, the way the platform's non-smoothed
// fonts come out, so every pixel of the face holds a colour the control chose.
QFont SharpFont(const QFont& font) {
    QFont sharp = font;
    sharp.setStyleStrategy(QFont::NoAntialias);
    return sharp;
}

void AppendWrapped(const QString& paragraph, const QFontMetrics& metrics, int width, QStringList& lines) {
    const QStringList words = paragraph.split(QLatin1Char(' '));
    QString line;
    for (const QString& word : words) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.append(line);
            line = word;
        } else {
            line = candidate;
        }
    }
    lines.append(line);
}

QStringList LayOutLines(const QString& text, const QFontMetrics& metrics, int width, bool wordBreak) {
    QStringList lines;
    for (QString paragraph : text.split(QLatin1Char('\n'))) {
        if (paragraph.endsWith(QLatin1Char('\r'))) {
            paragraph.chop(1);
        }
        if (wordBreak) {
            AppendWrapped(paragraph, metrics, width, lines);
        } else {
            lines.append(paragraph);
        }
    }
    return lines;
}

}  // namespace

ColorValue SetTextColor(Canvas& dc, ColorValue color) {
    const ColorValue previous = dc.TextColor();
    dc.SetTextColor(color);
    return previous;
}

int DrawTextA(Canvas& dc, std::string_view text, RECT& rect, std::uint32_t format) {
    if (text.empty()) {
        if ((format & DT_CALCRECT) != 0) {
            rect.right = rect.left;
            rect.bottom = rect.top;
        }
        return 0;
    }
    const QFont font = SharpFont(dc.Font());
    const QFontMetrics metrics(font, &dc.Image());
    const QString decoded = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    const QStringList lines = LayOutLines(decoded, metrics, rect.right - rect.left, (format & DT_WORDBREAK) != 0);
    const int lineHeight = metrics.height();
    const int height = lineHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const QString& line : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(line));
        }
        rect.right = rect.left + widest;
        rect.bottom = rect.top + height;
        return height;
    }
    QPainter painter(&dc.Image());
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(ToPixel(dc.TextColor())));
    painter.setClipRect(QRect(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1)));
    int top = rect.top;
    for (const QString& line : lines) {
        int left = rect.left;
        if ((format & DT_CENTER) != 0) {
            left += (rect.right - rect.left - metrics.horizontalAdvance(line)) / 2;
        }
        painter.drawText(QPoint(left, top + metrics.ascent()), line);
        top += lineHeight;
    }
    return height;
}

}  // namespace tunekist
