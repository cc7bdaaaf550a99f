#include "engine/record_store.h"

namespace velkor {

StoredSms Store(TextArena& texts, const SmsRecord& r) {
  return {texts.Add(r.number), texts.Add(r.content), r.time, r.origin, r.status};
}

StoredCall Store(TextArena& texts, const CallRecord& r) {
  return {texts.Add(r.number), texts.Add(r.name), texts.Add(r.location), r.time, r.origin, r.count,
          r.callType};
}

StoredEvent Store(TextArena& texts, const ContactEvent& r) {
  return {texts.Add(r.number),
          texts.Add(r.name),
          texts.Add(r.location),
          texts.Add(r.content),
          r.time,
          r.origin,
          r.count,
          r.direction};
}

StoredWeChat Store(TextArena& texts, const WeChatRecord& r) {
  return {texts.Add(r.contact), texts.Add(r.content), r.time, r.origin};
}

SmsRecord Load(const TextArena& texts, const StoredSms& r) {
  SmsRecord out{ToU16String(texts.View(r.number)), ToU16String(texts.View(r.content)), r.status,
                r.time};
  out.origin = r.origin;
  return out;
}

CallRecord Load(const TextArena& texts, const StoredCall& r) {
  CallRecord out{ToU16String(texts.View(r.number)),
                 ToU16String(texts.View(r.name)),
                 ToU16String(texts.View(r.location)),
                 r.time,
                 r.callType,
                 r.count};
  out.origin = r.origin;
  return out;
}

ContactEvent Load(const TextArena& texts, const StoredEvent& r) {
  ContactEvent out{ToU16String(texts.View(r.number)),
                   ToU16String(texts.View(r.name)),
                   ToU16String(texts.View(r.location)),
                   ToU16String(texts.View(r.content)),
                   r.time,
                   r.direction,
                   r.count};
  out.origin = r.origin;
  return out;
}

WeChatRecord Load(const TextArena& texts, const StoredWeChat& r) {
  WeChatRecord out{ToU16String(texts.View(r.contact)), ToU16String(texts.View(r.content)), r.time};
  out.origin = r.origin;
  return out;
}

}  // namespace velkor
