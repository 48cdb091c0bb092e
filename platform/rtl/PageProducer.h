#pragma once
// The page producer that replaces tags in HTML text: every tag that begins
// "<#" and ends with ">" is handed to OnHTMLTag, and what the handler puts
// into its replacement text takes the tag's place; all other text is copied
// as it is, byte for byte.
//
// The tag's name is the text after "<#" up to the first blank (or the ">").
// Its parameters follow as one line each, "name=value". A value opens with
// "=\"" and ends at the next double quote, so a value may hold blanks and
// ">" without ending the parameter or the tag. A lone "/" before the closing
// ">" (the mark of an empty element) is no parameter.
//
//   rtl::TPageProducer producer;
//   producer.SetStripParamQuotes(false);
//   producer.OnHTMLTag = [](rtl::TPageProducer*, const AnsiString& name, rtl::TStrings& params,
//                           AnsiString& replaceText) { replaceText = ...; };
//   AnsiString page = producer.ContentFromString(html);
#include <functional>

#include "rtl/Types.h"

namespace rtl {

class TStrings;

class TPageProducer {
 public:
  // TagString is the tag's name; ReplaceText starts empty, so a tag the
  // handler leaves alone disappears.
  using THTMLTagEvent = std::function<void(TPageProducer* Sender, const AnsiString& TagString,
                                           TStrings& TagParams, AnsiString& ReplaceText)>;

  TPageProducer() = default;
  TPageProducer(const TPageProducer&) = delete;
  TPageProducer& operator=(const TPageProducer&) = delete;

  // The document Content() works on.
  const AnsiString& HTMLDoc() const { return htmlDoc_; }
  void SetHTMLDoc(AnsiString doc) { htmlDoc_ = std::move(doc); }

  // When set (the default), parameter values reach the handler without their
  // enclosing double quotes; when clear, as written.
  bool StripParamQuotes() const { return stripParamQuotes_; }
  void SetStripParamQuotes(bool value) { stripParamQuotes_ = value; }

  // The document with every "<#" tag replaced.
  AnsiString Content();
  AnsiString ContentFromString(const AnsiString& doc);

  THTMLTagEvent OnHTMLTag;

 private:
  AnsiString htmlDoc_;
  bool stripParamQuotes_ = true;
};

}  // namespace rtl
