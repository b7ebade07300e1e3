// The numbers of the messages in the message file, by situation.
#ifndef TOLQ_COMMON_MESSAGE_NUMBERS_H
#define TOLQ_COMMON_MESSAGE_NUMBERS_H

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
inline constexpr int kMessagePlantedLink = 130;       // a link another user planted is not followed
inline constexpr int kMessageNotRegular = 131;        // a device, FIFO, socket or directory
inline constexpr int kMessageLocked = 132;            // another process holds the file's lock
inline constexpr int kMessageTooLarge = 133;          // a file larger than 64 MiB is not read
inline constexpr int kMessageUnconvertedBytes = 134;  // an edited value keeps unconverted bytes
inline constexpr int kMessageSpaceInDirectory = 135;  // white space in the dictionary directory
inline constexpr int kMessageBlankInDictName = 136;   // white space in a dictionary file name
inline constexpr int kMessageEdgeBlank = 137;         // a path that begins or ends with a blank
inline constexpr int kMessageDiscardChanges = 138;    // quitting with changes not applied

#endif
