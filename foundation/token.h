// TToken: the kinds of token the lexical analyzer delivers.
//
// The values are fixed: they are the token kinds of the knowledge-base
// language, and the compiler and the parameter readers of retrievers and
// translators compare against them.
#pragma once

enum TToken {
    tokEnd = 0,          // end of the source
    tokNumber = 1,       // digits, points and exponent letters
    tokName = 2,         // a bare name, or any text in double quotes
    tokLeftBrace = 3,    // {
    tokRightBrace = 4,   // }
    tokLeftParen = 5,    // (
    tokRightParen = 6,   // )
    tokComma = 7,        // ,
    tokNet = 8,
    tokRules = 9,
    tokNodes = 10,
    tokLinks = 11,
    tokTaxonomies = 12,
    tokRetriever = 13,
    tokTranslator = 14,
    tokOutput = 15,
    tokLogical = 16,
    tokGoal = 17,
    tokBayesian = 18,
    tokAnd = 19,
    tokNot = 20,
    tokOr = 21,
    tokTemplate = 22,
    tokHypothesis = 23,
    tokHiddenYes = 24,   // hidden_yes or hiddenyes
    tokHiddenNo = 25,    // hidden_no or hiddenno
    tokHiddenBoth = 26,  // hidden_both or hiddenboth
    tokDescription = 27,
    tokAskParam = 28,
    tokSetParam = 29,
    tokDefRetr = 30,
    tokText = 31,        // any characters between single quotes
    tokError = 32        // a lexical error
};
