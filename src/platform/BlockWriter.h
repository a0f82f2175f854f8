#pragma once

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <memory>

class QIODevice;

// Bytes for a device, gathered in one buffer of fixed size and written out in large blocks: a
// document of any length is written as it is made, with one copy of each piece. A failed write
// is remembered (ok(), errorString()) and nothing is written after it.
class BlockWriter {
public:
    explicit BlockWriter(QIODevice& out);
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    void put(const char* bytes, qsizetype size)
    {
        if (used_ + size > kSize) {
            flush();
            if (size > kSize) {
                write(bytes, size);
                return;
            }
        }
        std::copy(bytes, bytes + size, data_.get() + used_);
        used_ += size;
    }
    void put(const QByteArray& bytes) { put(bytes.constData(), bytes.size()); }
    void put(char c)
    {
        if (used_ == kSize)
            flush();
        data_[size_t(used_++)] = c;
    }

    // Writes what is gathered.
    void flush();

    bool ok() const { return error_.isEmpty(); }
    QString errorString() const { return error_; }

private:
    static constexpr qsizetype kSize = 256 * 1024;

    void write(const char* bytes, qsizetype size);

    QIODevice& out_;
    std::unique_ptr<char[]> data_;
    qsizetype used_ = 0;
    QString error_;
};
