#include "tests/ui/SampleFiles.h"

#include "data/Record.h"

#include <QFile>

#include <string>

namespace rw::test {

QString WriteSample(const QString& path, const SampleFile& sample)
{
    const std::uint8_t key = sample.key;
    std::vector<std::uint8_t> bytes =
        EncodeBytes(sample.kind, key, sample.ids.size(), [&](std::size_t i, std::span<std::uint8_t> out) {
            Record record(sample.kind);
            record.SetId(sample.ids[i]);
            (void)record.SetName("N" + std::to_string(sample.ids[i]));
            std::copy(record.Bytes().begin(), record.Bytes().end(), out.begin());
        });
    if (sample.header) StoreInt32(bytes.data(), *sample.header);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

} // namespace rw::test
