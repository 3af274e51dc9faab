#pragma once
// Contagem e corte de textos UTF-8 por caractere: tamanhos de campo e precisão de Format
// contam caracteres, e um corte por bytes partiria um "ç" ao meio.
#include <cstddef>
#include <string>

namespace TextoUTF8 {

// Byte de continuação (10xxxxxx): não inicia caractere.
inline bool Continuacao(unsigned char c) { return (c & 0xC0) == 0x80; }

inline size_t Caracteres(const std::string& ATexto) {
  size_t n = 0;
  for (unsigned char c : ATexto)
    if (!Continuacao(c)) ++n;
  return n;
}

// Deixa no máximo AMaximo caracteres.
inline void Cortar(std::string& ATexto, size_t AMaximo) {
  size_t n = 0;
  for (size_t i = 0; i < ATexto.size(); ++i) {
    if (Continuacao(static_cast<unsigned char>(ATexto[i]))) continue;
    if (n++ == AMaximo) {
      ATexto.resize(i);
      return;
    }
  }
}

}  // namespace TextoUTF8
