#include "platform/BlockWriter.h"

#include <QIODevice>

BlockWriter::BlockWriter(QIODevice& out)
    : out_(out)
    , data_(new char[size_t(kSize)])
{ }

void BlockWriter::flush()
{
    write(data_.get(), used_);
    used_ = 0;
}

void BlockWriter::write(const char* bytes, qsizetype size)
{
    if (size <= 0 || !ok())
        return;
    if (out_.write(bytes, size) != size)
        error_ = out_.errorString().isEmpty() ? QStringLiteral("The file could not be written.") : out_.errorString();
}
