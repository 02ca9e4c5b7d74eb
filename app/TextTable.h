// Text lookup by id in the user-interface language.
//
// Ids 1 to 32 are the program's table; ids from 40 on are the texts this
// program adds for failures the table has no words for. A missing id gives
// an empty string.
#pragma once

#include <string>

enum TextId {
    kTextHeaderName = 1,
    kTextHeaderMark = 2,
    kTextHeaderN = 3,
    kTextHeaderE = 4,
    kTextHeaderZ = 5,
    kTextIdleTitle = 7,
    kTextCancel = 8,
    kTextSendLabel = 9,
    kTextRecvLabel = 10,
    kTextOpeningPort = 11,
    kTextWaitSync = 12,
    kTextFrameHeadError = 13,
    kTextKorvelProgress = 14,   // eight %c: the two frame counters, in text 47's order
    kTextSendProgress = 15,     // %04d point, %04d total
    kTextCancelled = 16,
    kTextUnsavedQuestion = 18,
    kTextReceiveFinished = 19,
    kTextSendOver = 20,
    kTextTassinProgress = 21,   // %d received count
    kTextFormatRuvo = 22,       // 22..26: format names in ExchangeFormat order
    kTextFormatSouthKass = 26,
    kTextInputEmpty = 27,
    kTextBadCharacter = 28,
    kTextMisplacedSign = 29,
    kTextTwoPoints = 30,
    kTextOverflow = 31,
    kTextNameEmpty = 32,

    // Added by this program.
    kTextCannotOpenFile = 40,    // %s file name, %s system reason
    kTextCannotWriteFile = 41,   // %s file name, %s system reason
    kTextReadError = 42,         // %s file name, %s system reason
    kTextUnknownFileType = 43,
    kTextPointDoesNotFit = 44,   // %d row, %s name, %s format name
    kTextTooManyPoints = 45,     // %d limit, %d rows
    kTextPointCannotTravel = 46, // %d row, %s name
    kTextKorvelProgressOrder = 47,  // which counter text 14 names first
    kTextNoRoomForPoints = 48,   // %d points the list keeps
};

class TextTable {
public:
    virtual ~TextTable() = default;
    virtual std::string text(int id) const = 0;
};
