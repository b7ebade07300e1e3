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

#endif
