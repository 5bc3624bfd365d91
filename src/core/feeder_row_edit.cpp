#include "feeder_row_edit.h"

#include "quiet_host.h"
#include "sheet.h"

namespace wirelark {

void prepareFeederDialog(FeederDialog& dialog, Document& document, int row, int column,
                         DialogHost& host) {
    document.patan = 0;
    dialog.Button1Enabled = true;
    dialog.editedRow = row;
    dialog.editedColumn = column;
    const Sheet& sheet = document.sheet();
    if (row < 0 || row >= sheet.rowCount())
        return;
    if (sheet.cell(row, col::glyph) == glyph::single) {
        // The pattern's own steps are part of opening: what they cannot compute stays quiet.
        QuietHost quiet(host);
        dialog.Button6Click(quiet);
        dialog.Button1Enabled = false;
        const auto cell = [&](int c) { return sheet.cell(row, c); };
        dialog.Edit1 = cell(col::number);
        dialog.Edit2 = cell(col::name);
        dialog.ComboBox2 = cell(col::system);
        dialog.ComboBox3 = cell(col::voltage);
        dialog.ComboBox4 = cell(col::breaker);
        dialog.ComboBox5 = cell(col::length);
        dialog.Edit7 = cell(col::loadName);
        dialog.ComboBox11 = cell(col::mainBreaker);
        dialog.Edit5 = cell(col::designCurrent);
        dialog.Edit4 = cell(col::powerFactor);
        dialog.Edit8 = cell(col::cable);
        dialog.ComboBox14 = cell(col::method);
        dialog.Edit9 = cell(col::allowableCurrent);
        dialog.Edit10 = cell(col::impedance);
        dialog.Label60 = cell(col::singleDrop);
        dialog.Label70 = cell(col::allowableDrop);
        dialog.Edit12 = cell(col::remarks);
        dialog.Label43 = cell(col::sizeKey);
        dialog.ComboBox13 =
            deriveLoadType(dialog.ComboBox2, dialog.Edit4, std::move(dialog.ComboBox13));
        // The sheet keeps the impedance, not the cable's R and X.
        dialog.Label56 = std::string(kResistancePlaceholder);
        dialog.Label57 = std::string(kReactancePlaceholder);
    }
    if (sheet.cell(row, col::number).empty())
        dialog.Edit1 = std::to_string(document.kansenno);
}

FeederEntry feederEntry(const FeederDialog& d) {
    FeederEntry e;
    e.number = d.Edit1;
    e.name = d.Edit2;
    e.loadType = d.ComboBox13;
    e.powerFactor = d.Edit4;
    e.cable = d.Edit8;
    e.method = d.ComboBox14;
    e.allowableCurrent = d.Edit9;
    e.impedance = d.Edit10;
    e.voltageDrop = d.Label60;
    e.allowableDrop = d.Label70;
    e.remarks = d.Edit12;
    e.sizeKey = d.Label43;

    e.system = d.ComboBox2;
    e.voltage = d.ComboBox3;
    e.breaker = d.ComboBox4;
    e.length = d.ComboBox5;
    e.loadName = d.Edit7;
    e.mainBreaker = d.ComboBox11;
    e.designCurrent = d.Edit5;

    e.trunkSystem = d.ComboBox7;
    e.trunkVoltage = d.ComboBox8;
    e.trunkBreaker = d.ComboBox9;
    e.trunkLength = d.ComboBox10;
    e.trunkDesignCurrent = d.Edit3;
    e.branchesSystem1 = d.ComboBox1;
    e.branchesSystem2 = d.ComboBox17;
    e.dwellingMainBreaker = d.ComboBox12;
    e.dwellingCurrent = d.ComboBox15;
    e.lengthBetweenBranches = d.ComboBox6;
    e.systems = d.twoSystems ? 2 : 1;
    return e;
}

bool writeBackFeederDialog(const FeederDialog& dialog, Document& document, int row,
                           DialogHost& host) {
    const int patan = document.patan;
    if (patan != 1 && patan != 2)
        return false;
    const FeederEntry entry = feederEntry(dialog);
    const BlockRange lastRange{document.s1, document.e1};
    const auto write = [&](Sheet& sheet) {
        return writeFeederDialogResult(sheet, row, patan, entry, document.kansenno, lastRange,
                                       document.supply());
    };

    // A failure half-way would leave a feeder half written; the copy takes it instead.
    Sheet trial = document.sheet();
    const FeederWriteResult tried = write(trial);
    if (!tried.status) {
        host.info(tried.status.error().message);
        return false;
    }
    const bool existing =
        row < document.sheet().rowCount() && !isBlank(document.sheet().cell(row, col::number));
    const std::string step =
        "No." + std::string(trial.cell(row, col::number)) + (existing ? " を変更" : " を入力");
    const FeederWriteResult written =
        document.edit(step, [&](Sheet& sheet) { return write(sheet); });
    document.kansenno = written.kansenno;
    document.s1 = written.range.s1;
    document.e1 = written.range.e1;
    return true;
}

}  // namespace wirelark
