#pragma once
// Conferência de dois Blocos M calculados por caminhos diferentes: registro a registro e
// campo a campo, pelo texto que o arquivo mostraria. Os registros são casados pela
// identificação (os campos-chave do registro e os do seu pai), não pela posição.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "blocom/model/nFisRepositorioEFDModel_U.h"

enum class TTipoDiferenca { tdCampo, tdSoNoPrimeiro, tdSoNoSegundo };

struct TDiferencaBlocoM {
  TTipoDiferenca Tipo = TTipoDiferenca::tdCampo;
  std::string Registro;  // "M100"
  std::string Caminho;   // "M100[101|0|1,6500|]/M105[01|50]"
  std::string Campo;     // nome do campo no leiaute (vazio quando falta o registro inteiro)
  std::string Valor1;    // texto no primeiro caminho (vazio quando o registro só está no segundo)
  std::string Valor2;
};

// Diferenças na ordem do primeiro bloco, depois os registros que só o segundo tem.
// M001 e M990 (abertura e contagem de linhas) não entram: seguem do resto.
std::vector<TDiferencaBlocoM> CompararBlocoM(const TM001AberturaBloco& APrimeiro, const TM001AberturaBloco& ASegundo);

// Uma linha por diferença, com os nomes dos dois caminhos.
std::string DiferencasParaTexto(const std::vector<TDiferencaBlocoM>& ADiferencas, const std::string& ANome1,
                                const std::string& ANome2);
nlohmann::ordered_json DiferencasParaJson(const std::vector<TDiferencaBlocoM>& ADiferencas, const std::string& ANome1,
                                          const std::string& ANome2);
