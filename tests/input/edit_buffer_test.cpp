// The edit buffer and text log records keep their documented field order, with pointer-sized pointers.
#include <gtest/gtest.h>
#include <stddef.h>

#include "toolkit/controls/text_log.h"
#include "toolkit/input/edit_buffer.h"

TEST(Records, FieldOrder) {
    EXPECT_EQ(offsetof(EditBuffer, flags), 0u);
    size_t edit[] = {offsetof(EditBuffer, flags),       offsetof(EditBuffer, text),
                     offsetof(EditBuffer, caret),       offsetof(EditBuffer, capacity),
                     offsetof(EditBuffer, lineMode),    offsetof(EditBuffer, rowSpacing),
                     offsetof(EditBuffer, lineHandler), offsetof(EditBuffer, enterHandler),
                     offsetof(EditBuffer, textColour),  offsetof(EditBuffer, backColour),
                     offsetof(EditBuffer, composition), offsetof(EditBuffer, font),
                     offsetof(EditBuffer, originX),     offsetof(EditBuffer, originY)};
    for (size_t i = 1; i < sizeof edit / sizeof edit[0]; i++) EXPECT_LT(edit[i - 1], edit[i]) << i;
    EXPECT_EQ(sizeof(EditBuffer::text), sizeof(void*));
    EXPECT_EQ(sizeof(EditBuffer::composition), 4u);

    EXPECT_EQ(offsetof(TextLog, header), 0u);
    EXPECT_EQ(offsetof(TextLog, edit), sizeof(Control));
    size_t log[] = {
        offsetof(TextLog, edit),        offsetof(TextLog, currentLine), offsetof(TextLog, lineCount),
        offsetof(TextLog, maxLines),    offsetof(TextLog, rowHeight),   offsetof(TextLog, firstRow),
        offsetof(TextLog, visibleRows), offsetof(TextLog, rowsShown),   offsetof(TextLog, lineTextColour),
        offsetof(TextLog, rowSpacing),  offsetof(TextLog, lines),       offsetof(TextLog, backgroundImage),
        offsetof(TextLog, scrollBar)};
    for (size_t i = 1; i < sizeof log / sizeof log[0]; i++) EXPECT_LT(log[i - 1], log[i]) << i;
    EXPECT_EQ(offsetof(TextLog, currentLine), sizeof(Control) + sizeof(EditBuffer));
}
