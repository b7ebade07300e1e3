// The numbers of the messages in the message file, by situation.
#ifndef TOLQ_APP_MESSAGE_NUMBERS_H
#define TOLQ_APP_MESSAGE_NUMBERS_H

inline constexpr int kMessageNoMemory = 32;
inline constexpr int kMessageDuplicate = 50;  // server or host-and-user pair listed already
inline constexpr int kMessageNotRoot = 51;
inline constexpr int kMessageAlreadyListed = 56;  // dictionary listed already
inline constexpr int kMessageNoFileName = 58;
inline constexpr int kMessageReadFailed = 59;
inline constexpr int kMessageNoSuchFile = 60;
inline constexpr int kMessageSaveFailed = 61;
inline constexpr int kMessageRead = 66;
inline constexpr int kMessageSaved = 67;
inline constexpr int kMessageWriteFailed = 68;  // Apply could not write a settings file
inline constexpr int kMessageNoServerHost = 102;
inline constexpr int kMessageBadPort = 103;
inline constexpr int kMessageBadDirectory = 116;  // dictionary directory macros do not expand
inline constexpr int kMessageTooManyServers = 118;
inline constexpr int kMessageTooManyUsers = 119;
inline constexpr int kMessageNoHostOrUser = 120;
inline constexpr int kMessageMoreThanShown = 121;     // tolqhosts holds more than the page shows
inline constexpr int kMessagePathTooLong = 122;       // a path longer than 4095 bytes
inline constexpr int kMessageUnwritableText = 123;    // a typed text EUC-JP cannot hold
inline constexpr int kMessageBadHostOrUser = 124;     // a host or user text the file cannot hold
inline constexpr int kMessageBadDictName = 125;       // a dictionary name with control characters
inline constexpr int kMessageChangedOutside = 126;    // the file changed since it was read
inline constexpr int kMessageHostsFailedAfter = 127;  // tolqhosts failed after convdrc was written
inline constexpr int kMessageWrongKind = 128;         // a read file holds no setting of its kind
inline constexpr int kMessageHostsFailed = 129;       // tolqhosts failed, convdrc had no changes
inline constexpr int kMessageUnconvertedBytes =
    134;  // an edited value keeps bytes that do not convert
inline constexpr int kMessageSpaceInDirectory = 135;  // white space in the dictionary directory

#endif
