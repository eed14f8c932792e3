#pragma once
#include <QByteArray>
#include <QString>
#include <array>

namespace vc {

class Random;

// One record of the shared results file: 44 bytes, little-endian, the fields
// packed one after another.
inline constexpr int kResultRecordSize = 44;

struct ResultRecord {
    double runDate = 0;        // day number (days since 1899-12-30), whole days
    double runTime = 0;        // fraction of a day
    qint16 studentNumber = 0;
    qint16 level = 0;
    qint32 seconds = 0;        // 99999 for a time-out
    // The four 5-byte text fields, kept byte for byte so a record read and
    // written back (as the results administration does) stays unchanged.
    std::array<char, 5> schoolCode{' ', ' ', ' ', ' ', ' '};
    std::array<char, 5> reserved1{' ', ' ', ' ', ' ', ' '};
    std::array<char, 5> reserved2{'0', ' ', ' ', ' ', ' '};
    std::array<char, 5> reserved3{' ', ' ', ' ', ' ', ' '};

    bool operator==(const ResultRecord&) const = default;
};

// Five random letters and digits for the last reserved field of a new
// record (no reader interprets it). Two genuine runs can otherwise be equal
// to the byte (the same student on two computers, the same level, seconds
// and second of the day), and the delivery of pending runs, which skips
// records already in the file byte for byte, would drop one of them. Drawn
// from `random`, or from a source of the program's own when null.
std::array<char, 5> newRecordTag(Random* random = nullptr);

QByteArray encodeResultRecord(const ResultRecord& record);
// `bytes` points at 44 bytes.
ResultRecord decodeResultRecord(const char* bytes);

// The school code as stored: CP932, left-aligned, cut to 5 bytes (never in
// the middle of a double-byte character) and blank-filled. Returns false when
// the code holds a character CP932 cannot represent.
bool schoolCodeField(const QString& schoolCode, std::array<char, 5>* out);
// The field decoded, blanks kept; empty when the bytes are not CP932.
QString schoolCodeText(const std::array<char, 5>& field);

} // namespace vc
