#include "gradient/GradientTool.h"

#include <algorithm>
#include <amiga/asmtext.h>
#include <amiga/copperframe.h>
#include <amiga/fade.h>
#include <utility>

bool GradientTool::setKeys(std::vector<amiga::GradientKey> keys) {
    if (keys.empty())
        return false;
    m_keys = std::move(keys);
    m_selected = std::clamp(m_selected, 0, static_cast<int>(m_keys.size()) - 1);
    return true;
}

bool GradientTool::select(int index) {
    if (index < 0 || index >= static_cast<int>(m_keys.size()))
        return false;
    m_selected = index;
    return true;
}

bool GradientTool::moveKey(int index, int line, int maxLine) {
    if (!select(index))
        return false;
    line = std::clamp(line, 0, maxLine);
    if (m_keys[static_cast<std::size_t>(index)].line == line)
        return false;
    m_keys[static_cast<std::size_t>(index)].line = line;
    return true;
}

void GradientTool::setSelectedColour(amiga::Rgb8 colour) {
    m_keys[static_cast<std::size_t>(m_selected)].colour = colour;
}

void GradientTool::addKey() {
    const amiga::GradientKey &selected = m_keys[static_cast<std::size_t>(m_selected)];
    int next = std::max(lines - 1, selected.line);
    for (const amiga::GradientKey &key : m_keys)
        if (key.line > selected.line)
            next = std::min(next, key.line);
    // Rounded to 8 bits a gun, as the gradient shows it there.
    const int line = (selected.line + next + 1) / 2;
    const std::vector<amiga::GradientLine> shown = amiga::gradientLines(request());
    const amiga::Rgb8 colour = line < static_cast<int>(shown.size())
                                   ? shown[static_cast<std::size_t>(line)].colour
                                   : selected.colour;
    m_keys.insert(m_keys.begin() + m_selected + 1, {line, colour});
    ++m_selected;
}

bool GradientTool::removeKey() {
    if (!canRemoveKey())
        return false;
    m_keys.erase(m_keys.begin() + m_selected);
    m_selected = std::min(m_selected, static_cast<int>(m_keys.size()) - 1);
    return true;
}

amiga::GradientRequest GradientTool::request() const {
    amiga::GradientRequest request;
    request.firstLine = firstLine;
    request.lines = lines;
    request.keys = m_keys;
    request.aga = aga;
    request.colourRegister = colourRegister;
    request.blend = oklab ? amiga::GradientBlend::Oklab : amiga::GradientBlend::Rgb;
    // AGA shows every 8-bit colour: there is nothing to dither.
    request.dither = aga ? amiga::GradientDither::None : dither;
    request.horizontal = horizontal;
    request.bplcon3 = bplcon3;
    request.frameLines = ntsc ? amiga::CopperFrame::kNtscLines : amiga::CopperFrame::kLines;
    return request;
}

GradientTool::Shown GradientTool::shown() const {
    Shown result;
    const amiga::GradientRequest request = this->request();
    switch (output) {
    case Output::CopperList: {
        amiga::GradientCopperList list = amiga::gradientCopperList(request);
        result.text = std::move(list.text);
        result.instructions = list.instructions;
        result.firstLeftOut = list.firstLeftOut;
        result.lastLeftOut = list.lastLeftOut;
        break;
    }
    case Output::WordTable:
        result.text = amiga::gradientTableCode(request);
        result.count = request.lines;
        break;
    case Output::FadeTable: {
        amiga::Rgb8 target{};
        if (fadeTarget == FadeTarget::White)
            target = {255, 255, 255};
        else if (fadeTarget == FadeTarget::Colour)
            target = fadeColour.value_or(amiga::Rgb8{});
        amiga::FadeTable table = amiga::fadeTable(amiga::fadeSteps(fadePalette, target, fadeSteps),
                                                  aga, amiga::fadeTargetName(target));
        result.text = std::move(table.text);
        result.count = static_cast<int>(table.steps);
        result.colours = table.colours;
        break;
    }
    }
    return result;
}

GradientTool::Preview GradientTool::preview() const {
    const amiga::GradientRequest request = this->request();
    const std::vector<amiga::GradientLine> lines = amiga::gradientLines(request);
    amiga::CopperFrame frame(aga ? amiga::CopperFrame::Chipset::Aga
                                 : amiga::CopperFrame::Chipset::Ocs,
                             amiga::CopperFrame::kPictureStart, request.frameLines);
    std::vector<std::uint16_t> words =
        amiga::dataWords(amiga::gradientCopperCode(request)).value_or(std::vector<std::uint16_t>{});
    words.insert(words.end(), {0xffff, 0xfffe});
    frame.run(words);
    Preview preview;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        preview.exact.push_back(lines[i].colour);
        const int line = request.firstLine + static_cast<int>(i);
        // Lines past the end of the frame are never shown.
        preview.shown.push_back(
            line < frame.lineCount() ? frame.colour(line, request.colourRegister) : amiga::Rgb8{});
    }
    return preview;
}
