#include "copper/CopperTool.h"
#include "common/HexToInteger.h"
#include "common/SnapshotCommand.h"
#include "common/TextFields.h"
#include "copper/CopperMove.h"
#include "copper/CopperWait.h"

#include <QCoreApplication>
#include <memory>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("CopperTool", text);
}

} // namespace

CopperTool::CopperTool() = default;

CopperTool::~CopperTool() = default;

QString CopperTool::addMove(const MoveFields &fields) {
    const QString reg = fields.reg.trimmed();
    auto move = std::make_unique<CopperMove>(CopperObject::moveType);
    move->setRegisterReference(reg);
    if (!move->registerOffset())
        return reg.isEmpty()
                   ? tr("Type a register for the MOVE: a name such as COLOR00 or an offset such "
                        "as $180.")
                   : tr("\u201c%1\u201d is no custom-chip register: type a name such as COLOR00 "
                        "or an offset such as $180 or $dff180.")
                         .arg(reg);
    // Kept as it will be printed: the name in upper case, or the offset.
    move->setRegisterReference(move->registerText());
    move->setAutoVerticalValue(fields.autoHigh);
    move->setAutoHorizontalValue(fields.autoLow);
    move->setVerticalHexValue(fields.high, fields.low);
    change(tr("Add MOVE"), [&] { m_list.append(std::move(move)); });
    return {};
}

void CopperTool::addWait(const WaitFields &fields) {
    auto wait = std::make_unique<CopperWait>(CopperObject::waitType);
    wait->setVerticalPositionHexValue(fields.vertical, fields.horizontal);
    wait->setVerticalMaskHexValue(fields.verticalMask, fields.horizontalMask);
    wait->setSkip(fields.skip);
    change(fields.skip ? tr("Add SKIP") : tr("Add WAIT"), [&] { m_list.append(std::move(wait)); });
}

bool CopperTool::duplicate(int row) {
    const CopperObject *original = m_list.objectAt(row);
    std::unique_ptr<CopperObject> copy = original ? original->copy() : nullptr;
    if (!copy)
        return false;
    copy->setUuid(QUuid::createUuid());
    change(tr("Duplicate Instruction"), [&] { m_list.append(std::move(copy)); });
    return true;
}

bool CopperTool::remove(int row) {
    if (!m_list.objectAt(row))
        return false;
    change(tr("Remove Instruction"), [&] { m_list.removeAt(row); });
    return true;
}

void CopperTool::clear() {
    change(tr("Clear List"), [&] { m_list.clear(); });
}

bool CopperTool::move(int row, int gap) {
    if (!m_list.objectAt(row) || gap < 0 || gap > m_list.rowCount() || gap == row || gap == row + 1)
        return false;
    change(tr("Move Instruction"), [&] { m_list.moveToGap(row, gap); });
    return true;
}

bool CopperTool::drop(const QString &uuidText, int gap) {
    // The dragged instruction is the one the drag carries, whatever is selected.
    const int row = m_list.rowOfUuid(QUuid::fromString(uuidText.trimmed()));
    if (row < 0)
        return false;
    move(row, gap);
    return true;
}

std::optional<CopperTool::MoveFields> CopperTool::moveFieldsAt(int row) const {
    const auto *move = dynamic_cast<const CopperMove *>(m_list.objectAt(row));
    if (!move)
        return std::nullopt;
    const auto byte = [](bool follows, qint64 value) {
        return follows ? QString() : CopperObject::byteText(value);
    };
    return MoveFields{move->registerReference(),
                      byte(move->autoVerticalValue(), move->verticalValue()),
                      byte(move->autoHorizontalValue(), move->horizontalValue()),
                      move->autoVerticalValue(), move->autoHorizontalValue()};
}

std::optional<CopperTool::WaitFields> CopperTool::waitFieldsAt(int row) const {
    const auto *wait = dynamic_cast<const CopperWait *>(m_list.objectAt(row));
    if (!wait)
        return std::nullopt;
    return WaitFields{CopperObject::byteText(wait->verticalPosition()),
                      CopperObject::byteText(wait->horizontalPosition()),
                      CopperObject::byteText(wait->verticalMask()),
                      CopperObject::byteText(wait->horizontalMask()), wait->isSkip()};
}

CopperRun CopperTool::run() const {
    CopperRun run;
    run.lines = integerValue(lines);
    run.firstLine = convertHexToInteger(firstLine);
    run.horizontal = convertHexToInteger(horizontal);
    run.verticalMask = convertHexToInteger(verticalMask);
    run.horizontalMask = convertHexToInteger(horizontalMask);
    run.frameLines = ntsc ? amiga::CopperFrame::kNtscLines : amiga::CopperFrame::kLines;
    return run;
}

void CopperTool::change(const QString &what, const std::function<void()> &apply) {
    using Snapshot = std::shared_ptr<const CopperSequenceModel::Sequence>;
    Snapshot before = m_list.snapshot();
    apply();
    if (m_list.matches(*before))
        return;
    m_undo.push(
        new SnapshotCommand<Snapshot>(what, std::move(before), m_list.snapshot(),
                                      [this](const Snapshot &state) { m_list.restore(*state); }));
}
