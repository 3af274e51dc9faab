#pragma once
// Árvore de registros do Bloco M em JSON, para programas: um objeto por registro com "REG" e
// os campos do leiaute (mesmos nomes e valores do arquivo texto; números arredondados às
// casas do campo, campos vazios como null) e os filhos em listas com o nome do registro.
// As chaves saem na ordem do leiaute e os registros na ordem das chaves das listas.
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "blocom/model/nFisRepositorioEFDModel_U.h"

// Resultado de um estabelecimento SCP: CNPJ da SCP e os M001 por tipo de apuração.
struct TResultadoSCPSaida {
  std::string CNPJ;
  const TMapaAberturaBloco* EFD = nullptr;
};

// Um M001 com toda a sua árvore; o M300/M700 fica dentro do seu M210/M610.
nlohmann::ordered_json RegistroM001ParaJson(const TM001AberturaBloco& AM001);

// {"apuracoes": [{"TIPO_APURACAO": 0, "M001": {...}}, ...]} em ordem crescente do tipo e,
// quando ASCP é dado, "scp": [{"CNPJ": ..., "apuracoes": [...]}, ...] na ordem recebida.
nlohmann::ordered_json BlocoMParaJson(const TMapaAberturaBloco& AApuracoes,
                                      const std::vector<TResultadoSCPSaida>* ASCP = nullptr);
