#pragma once
#include <functional>
#include <string>

// Texto da exceção E lançada por f, ou "<sem exceção>": o teste confere a mensagem com um só EXPECT.
template <class E>
std::string MensagemDe(const std::function<void()>& f) {
  try {
    f();
  } catch (const E& e) {
    return e.what();
  }
  return "<sem exceção>";
}
