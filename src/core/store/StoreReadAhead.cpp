#include "core/store/StoreReadAhead.h"

#include <utility>

StoreReadAhead::StoreReadAhead(QString path)
    : m_path(std::move(path)),
      m_contents(std::async(std::launch::async, &StoreFile::read, m_path, true))
{
}
