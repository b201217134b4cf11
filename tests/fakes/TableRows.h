#pragma once

#include <QTest>
#include <tuple>

/** Declares a _data() table's columns in one line: addColumns<QString, bool>("text", "open"). */
template <typename... T, typename... Names> void addColumns(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "a type for every column");
    (QTest::addColumn<T>(names), ...);
}

/** The running row's cells in the order named, as QFETCH gives them one by one:
 *  const auto [text, open] = fetch<QString, bool>("text", "open"). */
template <typename... T, typename... Names> std::tuple<T...> fetch(Names... names)
{
    static_assert(sizeof...(T) == sizeof...(Names), "a type for every column");
    return {*static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))...};
}
