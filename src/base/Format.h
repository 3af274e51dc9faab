#pragma once
// Format com as regras posicionais do runtime do host:
//   %[índice:][-][largura][.precisão]tipo   tipos d u x e f g n s (maiúsculas valem)
//   %% é o próprio '%'; depois de um índice explícito a contagem segue dele.
// Números saem com ponto decimal (textos SQL), nunca com separador do idioma.
// Argumento ausente ou de tipo incompatível lança EConversao.
#include <string>

#include "base/Variant.h"

std::string Format(const std::string& AFormato, const TParams& AArgs);
