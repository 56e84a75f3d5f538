#!/bin/bash
# The older code's faults, one case each (used by apply.sh).
set -e
case "$1" in
A01) perl -0pi -e 's/(WaitCursor hourglass;\n)\s*setMenuEnabled\(QStringLiteral\("mnuSave_As"\), false\);\n/$1/' app/files/DataFiles.cpp ;;
A02) perl -0pi -e 's/        if \(written\.ok\(\)\)\n            break;/        break;/' app/files/DataFiles.cpp ;;
A03) perl -pi -e 's/m_start->date\(\) > m_end->date\(\)/m_start->date() >= m_end->date()/' app/tables/frmInTableau.cpp ;;
A04) perl -0pi -e 's/(MsgIcon::Critical\);\n)\s*disableSaveAs\(\);\n/$1/' app/files/frmData_Type.cpp ;;
A05) perl -0pi -e 's/(s\.Cancel_Flag = true;\n\s*s\.Transfer_Error = )0;/${1}3;/' app/link/frmWait.cpp ;;
A07) perl -0pi -e 's/analysisCommand\(true, true, RequestedView::LeqChart\)/analysisCommand(false, true, RequestedView::LeqChart)/' app/shell/frmMain.cpp ;;
F01) perl -pi -e 's/\(b >> 4\) \* 10 \+ \(b & 0x0F\)/(b & 0x0F) * 10 + (b >> 4)/' core/link/Decode.h ;;
F02) perl -0pi -e 's/case 11:\n(\s*)return 30;/case 11:\n$1return 31;/' core/tables/TableLines.cpp ;;
F03) perl -0pi -e 's/std::uint64_t\(r - 1\);/std::uint64_t(rows - r);/; s/const std::size_t from = std::size_t\(keys\[std::size_t\(r - 1\)\] & 0x3FFF\);/const std::size_t from = std::size_t(rows - 1) - std::size_t(keys[std::size_t(r - 1)] & 0x3FFF);/' core/link/Decode.cpp ;;
F04) perl -pi -e 's/m_out\.append\("\\r\\n", 2\)/m_out.append("\\n", 1)/' core/files/DataFile.cpp ;;
F05) perl -pi -e 's/constexpr int ValueLimit = 6;/constexpr int ValueLimit = 7;/' core/files/DataFile.cpp ;;
F06) perl -pi -e 's/return connecting \? TransferOutcome::ParameterNoAnswer : TransferOutcome::ParameterIncomplete;/return connecting ? TransferOutcome::ParameterIncomplete : TransferOutcome::ParameterNoAnswer;/' core/link/Transfer.cpp ;;
F07) perl -0pi -e 's/(return false;\n\s*)step\(progress\);\n(\s*\}\n\s*return !cancelled)/${1}if (pass > 1)\n            step(progress);\n$2/' core/link/Decode.cpp ;;
F09) perl -pi -e 's/i <= block::SerialLast;/i < block::SerialLast;/' core/store/Names.cpp ;;
C01) perl -pi -e "s/return c == QLatin1Char\(','\) \|\| /return /" core/export/Csv.cpp ;;
R01) perl -0pi -e 's/(fail\(r\.path \+ QStringLiteral\(": "\) \+ r\.error\);\n\s*)status = 1;/${1}status = 0;/' tools/kvl-report/main.cpp ;;
F08) perl -pi -e 's/QStringLiteral\("      The  "\)/QStringLiteral("     The  ")/' core/tables/TableLines.cpp ;;
*) echo "unknown $1"; exit 1;;
esac
git diff --stat | tail -1
