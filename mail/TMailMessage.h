// The message the SMTP client sends: addresses, subject, body lines and
// attachment files.
#pragma once

#include <string>
#include <vector>

namespace vistrel {

struct TMailAttachment {
  std::string path;  // the file read
  std::string name;  // the name the message gives it; empty: the path's file name
};

struct TMailMessage {
  std::string FromAddress;
  std::string FromName;
  std::string Subject;
  std::string LocalProgram;
  std::string Date;
  std::string ReplyTo;
  std::vector<std::string> ToAddress;
  std::vector<std::string> ToCarbonCopy;
  std::vector<std::string> ToBlindCarbonCopy;
  std::vector<std::string> Body;
  std::vector<TMailAttachment> Attachments;
};

}  // namespace vistrel
