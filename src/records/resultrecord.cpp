#include "records/resultrecord.h"

#include "platform/random.h"
#include "platform/textcodec.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <mutex>
#include <random>

namespace vc {
namespace {

template <typename T>
void put(char* at, T value)
{
    qToLittleEndian(value, at);
}

template <typename T>
T get(const char* at)
{
    return qFromLittleEndian<T>(at);
}

void putDouble(char* at, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    put<quint64>(at, bits);
}

double getDouble(const char* at)
{
    const quint64 bits = get<quint64>(at);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

std::array<char, 5> newRecordTag(Random* random)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    constexpr int kLetters = sizeof kAlphabet - 1;
    std::array<char, 5> tag{};
    if (random) {
        for (char& c : tag)
            c = kAlphabet[std::clamp(static_cast<int>(random->next() * kLetters), 0, kLetters - 1)];
        return tag;
    }
    // Seeded from the system's entropy: two computers, or two starts of the
    // program in the same second, must not draw the same tags.
    static std::mutex guard;
    static std::mt19937_64 engine = [] {
        std::random_device entropy;
        std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
        return std::mt19937_64(seed);
    }();
    std::lock_guard lock(guard);
    std::uniform_int_distribution<int> pick(0, kLetters - 1);
    for (char& c : tag)
        c = kAlphabet[pick(engine)];
    return tag;
}

QByteArray encodeResultRecord(const ResultRecord& r)
{
    QByteArray bytes(kResultRecordSize, '\0');
    char* p = bytes.data();
    putDouble(p + 0, r.runDate);
    putDouble(p + 8, r.runTime);
    put<qint16>(p + 16, r.studentNumber);
    put<qint16>(p + 18, r.level);
    put<qint32>(p + 20, r.seconds);
    std::memcpy(p + 24, r.schoolCode.data(), 5);
    std::memcpy(p + 29, r.reserved1.data(), 5);
    std::memcpy(p + 34, r.reserved2.data(), 5);
    std::memcpy(p + 39, r.reserved3.data(), 5);
    return bytes;
}

ResultRecord decodeResultRecord(const char* p)
{
    ResultRecord r;
    r.runDate = getDouble(p + 0);
    r.runTime = getDouble(p + 8);
    r.studentNumber = get<qint16>(p + 16);
    r.level = get<qint16>(p + 18);
    r.seconds = get<qint32>(p + 20);
    std::memcpy(r.schoolCode.data(), p + 24, 5);
    std::memcpy(r.reserved1.data(), p + 29, 5);
    std::memcpy(r.reserved2.data(), p + 34, 5);
    std::memcpy(r.reserved3.data(), p + 39, 5);
    return r;
}

bool schoolCodeField(const QString& schoolCode, std::array<char, 5>* out)
{
    out->fill(' ');
    size_t used = 0;
    // Character by character, so a double-byte character that does not fit
    // whole is left out rather than cut in half.
    for (qsizetype i = 0; i < schoolCode.size();) {
        const qsizetype length = schoolCode.at(i).isHighSurrogate() ? 2 : 1;
        const auto bytes = Cp932::encode(schoolCode.mid(i, length));
        if (!bytes)
            return false;
        if (used + static_cast<size_t>(bytes->size()) > out->size())
            break;
        std::memcpy(out->data() + used, bytes->constData(), static_cast<size_t>(bytes->size()));
        used += static_cast<size_t>(bytes->size());
        i += length;
    }
    return true;
}

QString schoolCodeText(const std::array<char, 5>& field)
{
    return Cp932::decode(QByteArray(field.data(), static_cast<qsizetype>(field.size()))).value_or(QString());
}

} // namespace vc
