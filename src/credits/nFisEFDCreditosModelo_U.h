#pragma once
// Linhas dos controles de créditos (registros 1100/1500) e de retidos na fonte (1300/1700),
// com os saldos derivados, e o mapa por chave em ordem de inclusão que os guarda.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/DateTime.h"

class TM100_500CreditoImposto;

// Código do tributo no host: 15 PIS, 16 COFINS; qualquer outro valor vale pelos dois.
enum TTipoImposto : int32_t { tiTodos = 0, tiPIS = 15, tiCOFINS = 16 };

// Campos comuns da linha de crédito (forma registro e forma objeto).
struct TCamposCredito {
  int32_t IMPOSTO = 0;
  int32_t TIPOAPURACAO = 0;
  TDateTime DATATOTAL = 0;
  TDateTime PERAPUCRED = 0;
  int16_t ORIGCRED = 0;
  std::string CNPJSUC;
  std::string CODCRED;
  double ALIQIMPOSTO = 0;
  double VLCREDAPU = 0;
  double VLCREDEXTAPU = 0;
  double VLCREDDESCPAANT = 0;
  double VLCREDPERPAANT = 0;
  double VLCREDDCOMPPAANT = 0;
  double VLCREDDESCEFD = 0;
  double VLCREDPEREFD = 0;
  double VLCREDDCOMPEFD = 0;
  double VLCREDTRANS = 0;
  double VLCREDOUT = 0;

  // Sem arredondamento: o saldo guarda toda fração das parcelas.
  double VLTOTCREDAPU() const { return VLCREDAPU + VLCREDEXTAPU; }
  double SDCREDDISPEFD() const { return VLTOTCREDAPU() - VLCREDDESCPAANT - VLCREDPERPAANT - VLCREDDCOMPPAANT; }
  double SLDCREDFIM() const {
    return SDCREDDISPEFD() - VLCREDDESCEFD - VLCREDPEREFD - VLCREDDCOMPEFD - VLCREDTRANS - VLCREDOUT;
  }
  // Soma os dez valores da origem a estes.
  void SomarValores(const TCamposCredito& AOrigem);
};

// Crédito na forma registro: como os carregadores o entregam ao controle.
struct TDadosCredito : TCamposCredito {
  TM100_500CreditoImposto* RegM100_500 = nullptr;  // não é dono
};

// Crédito na forma objeto: a linha do controle, com os M100/M500 que a alimentaram.
class TDadosCreditoObj : public TCamposCredito {
 public:
  TDadosCreditoObj() = default;
  explicit TDadosCreditoObj(const TCamposCredito& ACampos) : TCamposCredito(ACampos) {}
  TDadosCreditoObj(const TDadosCreditoObj&) = delete;
  TDadosCreditoObj& operator=(const TDadosCreditoObj&) = delete;

  // Registros do Bloco M (das listas do M001); a lista não é dona deles.
  std::vector<TM100_500CreditoImposto*> LstRegM100_500;
};

// Linha de valor retido na fonte.
struct TDadosRetido {
  int16_t IMPOSTO = 0;
  TDateTime DATATOTAL = 0;
  int16_t INDNATRET = 0;
  TDateTime PRRECRET = 0;
  std::string TIPODEBITO;
  double VLRETAPU = 0;
  double VLRETDED = 0;
  double VLRETPER = 0;
  double VLRETDCOMP = 0;
  double VLDIFERIDOAPU = 0;
  double VLDIFERIRAPU = 0;

  // Diferente do saldo de créditos, este é arredondado (aritmética decimal, 2 casas).
  double SLDRET() const;
  void SomarValores(const TDadosRetido& AOrigem);
};

// Mapa de chave texto para valor; enumera na ordem de inclusão (saída determinística).
template <class T>
class TListaChave {
 public:
  using TItem = std::pair<std::string, T>;

  T* Procurar(const std::string& AChave) {
    auto pos = FIndice.find(AChave);
    return pos == FIndice.end() ? nullptr : &FItens[pos->second].second;
  }
  const T* Procurar(const std::string& AChave) const {
    auto pos = FIndice.find(AChave);
    return pos == FIndice.end() ? nullptr : &FItens[pos->second].second;
  }
  bool Contem(const std::string& AChave) const { return FIndice.count(AChave) != 0; }
  // Inclui; devolve nulo quando a chave já existe (quem chama decide se é erro).
  T* Incluir(const std::string& AChave, T AValor) {
    auto [pos, novo] = FIndice.try_emplace(AChave, FItens.size());
    if (!novo) return nullptr;
    FItens.emplace_back(AChave, std::move(AValor));
    return &FItens.back().second;
  }
  // Inclui ou troca o valor da chave.
  void Gravar(const std::string& AChave, T AValor) {
    if (T* atual = Procurar(AChave))
      *atual = std::move(AValor);
    else
      Incluir(AChave, std::move(AValor));
  }
  void Limpar() {
    FItens.clear();
    FIndice.clear();
  }
  size_t Count() const { return FItens.size(); }
  bool Vazia() const { return FItens.empty(); }
  auto begin() { return FItens.begin(); }
  auto end() { return FItens.end(); }
  auto begin() const { return FItens.begin(); }
  auto end() const { return FItens.end(); }

 private:
  std::vector<TItem> FItens;
  std::unordered_map<std::string, size_t> FIndice;
};
