// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QStringView>

namespace velmora {

// The order in which a Romanian reader looks for a name: blanks first, then the other marks,
// digits, and the letters of the Romanian alphabet, A Ă Â B C D E F G H I Î J K L M N O P Q R
// S Ș T Ț U V W X Y Z. The cedilla forms Ş ş Ţ ţ that the tables hold are the letters Ș ș Ț ț;
// a capital and its small letter are the same letter, and the other accented letters of the
// code page (É, Ö, Ü, Ç, ...) go with their plain one.
//
// Texts that differ only in case or accents still have one order, so that a sort gives the
// same rows in the same order every time and two different texts never compare equal: the
// first difference in case or accent decides (capitals before small letters, plain before
// accented). Texts compare equal exactly when they hold the same characters, as if padded
// with blanks.
//
// Sorting many values goes through writeKey(): one short byte string per value, worked out
// once, whose byte order is this order, so that a sort never looks a character up again.
class RomanianOrder {
public:
    // The key of a text of a given width takes two bytes per character: the letters of the
    // whole text first, then the case and accents of the whole text.
    static constexpr int keyWidth(int width) { return 2 * width; }
    // Writes keyWidth(width) bytes for a text in the tables' code page; bytes beyond the text
    // count as blanks, and so does a NUL byte (what other programs leave in a padded field).
    static void writeKey(QByteArrayView cp1250, int width, char *out);
    // The first half of the key, width bytes, and whether the second half says anything: only
    // a small or accented letter (or a mark that sorts with another, as a typographic quote
    // does) makes it. Where no text among those sorted has one, the second halves are alike
    // and the first half alone sorts them.
    static bool writeLetters(QByteArrayView cp1250, int width, char *out);

    // -1, 0 or 1; texts in the tables' code page, the shorter as if padded with blanks.
    static int compare(QByteArrayView a, QByteArrayView b);
    // The same order for texts shown on screen: comma-below and cedilla forms alike. A
    // character the code page cannot hold comes after every letter. Only texts with the same
    // characters compare equal.
    static int compare(QStringView a, QStringView b);
    static bool lessThan(QStringView a, QStringView b) { return compare(a, b) < 0; }
};

} // namespace velmora
