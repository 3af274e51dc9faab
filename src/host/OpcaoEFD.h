#pragma once
// Opções da EFD-Contribuições da empresa (TnUtilOpcaoEFD) e o acesso ControleOpcaoEFD().
// Cada getter lê a linha de opção em vigor na data definida: a de maior DATAEFD <= data,
// do estabelecimento definido ou, sem linha própria, do menor estabelecimento da empresa.
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "base/DateTime.h"
#include "base/Erros.h"

class THost;

// Erro de opção não cadastrada (empresa sem linha em vigor na data).
class EOpcaoNaoCadastrada : public EPisco {
  using EPisco::EPisco;
};

// Passos da compensação da contribuição, na ordem configurada pela empresa. Valores além
// destes podem vir da tabela; quem compensa decide o que fazer com eles.
enum TOrdemComp : int {
  ocCompensarCreditos = 1,
  ocCompensarRetidos = 2,
  ocCompensarDeducoesDiversas = 3
};

// Linha de opção da EFD: OPCAOEFD (data e regime) com o complemento OPCAOEFDCOMPL.
struct TLinhaOpcaoEFD {
  int CodigoEstab = 0;
  TDateTime DataEFD = 0;
  int RegimeApuracao = 0;   // REGIMEAPU: 1 caixa, 2 competência consolidada, 9 detalhada
  bool OptanteEFD = true;
  int IncTributaria = 1;    // 1 não cumulativo, 2 cumulativo, 3 ambos
  std::vector<TOrdemComp> OrdemCompensacao{ocCompensarCreditos, ocCompensarRetidos,
                                           ocCompensarDeducoesDiversas};
  int OrdemCompCredEFD = 1;  // 1 créditos mais antigos primeiro; outro valor, mais novos
  int CodTabCompCred = 0;    // CODTABSPEDCOMPCRED das tabelas de ordem de compensação
  bool IndCredAgro = false;
  bool ValidarOrigemCompRet = false;
  int FormaControleRetidos = 1;
  bool ControlaDiferimento = false;
  bool GeracaoF500F525 = false;
  int ReceitaEnqExclusaoBC = 0;  // 0 só documentos fiscais; 1 também demais documentos
  int IncidenciaCST = 0;         // 0 só CSTs tributados (01, 02, 03, 05); 1 CSTs 01 a 09
  int ProporcaoRecCum = 0;       // 0 apropriação direta; 1 rateio pela receita cumulativa
  int CSTAjusteCredito = 56;
  TDateTime UltimoPeriodoSldSCPNaOstensiva = 0;
  int CodigoImpostoPISNCum = 6912, VariacaoImpostoPISNCum = 1;
  int CodigoImpostoPISCum = 8109, VariacaoImpostoPISCum = 1;
  int CodigoImpostoCOFINSNCum = 5856, VariacaoImpostoCOFINSNCum = 1;
  int CodigoImpostoCOFINSCum = 2172, VariacaoImpostoCOFINSCum = 1;
};

class TnUtilOpcaoEFD {
 public:
  explicit TnUtilOpcaoEFD(THost& AHost) : FHost(AHost) {}

  void SetCodigoEmpresa(int ACodigoEmpresa) { FCodigoEmpresa = ACodigoEmpresa; }
  void SetCodigoEstab(int ACodigoEstab) { FCodigoEstab = ACodigoEstab; }
  void SetData(TDateTime AData) { FData = DateOf(AData); }
  void Configurar(int ACodigoEmpresa, int ACodigoEstab, TDateTime AData);
  int GetCodigoEmpresa() const { return FCodigoEmpresa; }
  int GetCodigoEstab() const { return FCodigoEstab; }
  TDateTime GetData() const { return FData; }

  // Texto de estabelecimento como inteiro; 1 quando não é um número.
  static int CodigoEstabDeTexto(const std::string& ATexto);

  // Sem linha em vigor: falso (a empresa segue o caminho dos lançamentos, sem EFD).
  bool GetEhOptanteEFD();
  TDateTime GetDataEFD();
  int GetRegimeApuracao();
  int GetIncTributaria();
  std::vector<TOrdemComp> GetOrdemCompensacao();
  int GetOrdemCompCredEFD();
  int GetCodTabCompCred();
  bool GetIndCredAgro();
  bool GetValidarOrigemCompRet();
  int GetFormaControleRetidos();
  bool GetControlaDiferimento();
  bool GetGeracaoF500F525();
  int GetReceitaEnqExclusaoBC();
  int GetIncidenciaCST();
  int GetProporcaoRecCum();
  int GetCSTAjusteCredito();
  int GetCodigoImpostoPISCum();
  int GetVariacaoImpostoPISCum();
  int GetCodigoImpostoCOFINSCum();
  int GetVariacaoImpostoCOFINSCum();
  int GetCodigoImpostoPISNCum();
  int GetVariacaoImpostoPISNCum();
  int GetCodigoImpostoCOFINSNCum();
  int GetVariacaoImpostoCOFINSNCum();

  // Estabelecimentos SCP da empresa (SOCIEDADECONTAPARTICIPACAO = '1' em ESTAB).
  bool GetTemEstabSCPAtivo(TDateTime ADataInicial, TDateTime ADataFinal);
  // "(L.CODIGOESTAB IN (3, 4))"; sem SCP, "(1 = 0)". O prefixo é o apelido da tabela.
  std::string GetFiltroListaEstabSCP(TDateTime ADataInicial, TDateTime ADataFinal,
                                     const std::string& APrefixo);
  // Último período apurado com o saldo da SCP mantido na ostensiva; 0 quando nunca.
  TDateTime GetUltimoPeriodoApuradoComSldSCPNaOstensiva();

  // Linha em vigor (nulo quando não há); usa o cache do host.
  const std::optional<TLinhaOpcaoEFD>& LinhaEmVigor();
  void LimparCache() { FCache.clear(); }

 private:
  const TLinhaOpcaoEFD& Linha();  // lança EOpcaoNaoCadastrada
  std::vector<int> EstabsSCP();

  THost& FHost;
  int FCodigoEmpresa = 0;
  int FCodigoEstab = 1;
  TDateTime FData = 0;
  std::map<std::tuple<int, int, std::string>, std::optional<TLinhaOpcaoEFD>> FCache;
};

// Objeto de opções da EFD do host corrente da thread.
TnUtilOpcaoEFD& ControleOpcaoEFD();
